#pragma once
// Fault injection on real Win32: for as long as an ImportPatch lives, the
// calls that this program's own module makes to one imported function reach
// a replacement instead (its import address table entry is swapped). Other
// modules, the system's DLLs among them, still call the real function.
#include <windows.h>

class ImportPatch {
 public:
  ImportPatch(const char* dll, const char* function, const void* replacement);
  ~ImportPatch();
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;

  // False when the module imports no such function (nothing was swapped).
  bool active() const { return slot_ != nullptr; }

 private:
  void** slot_ = nullptr;
  void* original_ = nullptr;
};
