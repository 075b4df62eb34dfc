#include "tests/support/import_patch.h"

#include <cstring>

namespace {
template <typename T>
T* at(HMODULE base, DWORD offset) {
  return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(base) + offset);
}

void** findSlot(const char* dll, const char* function) {
  HMODULE base = GetModuleHandleW(nullptr);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = at<IMAGE_NT_HEADERS>(base, static_cast<DWORD>(dos->e_lfanew));
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return nullptr;
  for (auto* entry = at<IMAGE_IMPORT_DESCRIPTOR>(base, imports.VirtualAddress); entry->Name != 0; ++entry) {
    if (_stricmp(at<char>(base, entry->Name), dll) != 0 || entry->OriginalFirstThunk == 0) continue;
    auto* names = at<IMAGE_THUNK_DATA>(base, entry->OriginalFirstThunk);
    auto* addresses = at<IMAGE_THUNK_DATA>(base, entry->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = at<IMAGE_IMPORT_BY_NAME>(base, static_cast<DWORD>(names->u1.AddressOfData));
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
        return reinterpret_cast<void**>(&addresses->u1.Function);
    }
  }
  return nullptr;
}

void write(void** slot, void* value) {
  DWORD old = 0;
  VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
  *slot = value;
  VirtualProtect(slot, sizeof *slot, old, &old);
}
}  // namespace

ImportPatch::ImportPatch(const char* dll, const char* function, const void* replacement) {
  slot_ = findSlot(dll, function);
  if (slot_ == nullptr) return;
  original_ = *slot_;
  write(slot_, const_cast<void*>(replacement));
}

ImportPatch::~ImportPatch() {
  if (slot_ != nullptr) write(slot_, original_);
}
