#include "links/port_discovery.h"

#include <objbase.h>
#include <strsafe.h>

#include <cstdio>
#include <new>

std::vector<std::wstring> PortList;

namespace {
constexpr const wchar_t* kSerialCommKey = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";

// Both buffers come from the process heap and go back on every path.
struct ValueBuffers {
  wchar_t* name = nullptr;
  wchar_t* data = nullptr;
  DWORD nameUnits = 0;
  DWORD dataUnits = 0;
  ~ValueBuffers() {
    if (name != nullptr) HeapFree(GetProcessHeap(), 0, name);
    if (data != nullptr) HeapFree(GetProcessHeap(), 0, data);
  }
};

// One unit beyond the longest data keeps a string stored without its
// terminator terminated all the same.
bool allocateValueBuffers(ValueBuffers& buffers, DWORD longestName, DWORD longestDataBytes) {
  buffers.nameUnits = longestName + 1;
  buffers.dataUnits = longestDataBytes / 2 + 1;
  buffers.name = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, buffers.nameUnits * sizeof(wchar_t)));
  buffers.data = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, buffers.dataUnits * sizeof(wchar_t)));
  return buffers.name != nullptr && buffers.data != nullptr;
}

// A REG_SZ value holds whatever bytes were stored: an odd count or no
// terminator at all. The name ends at the first zero unit or at the last whole
// unit the registry returned, whichever comes first.
std::wstring portNameOf(const wchar_t* data, DWORD dataBytes) {
  std::size_t units = dataBytes / sizeof(wchar_t);
  std::size_t length = 0;
  while (length < units && data[length] != 0) ++length;
  return std::wstring(data, length);
}

void listValues(HKEY key, const ValueBuffers& buffers, std::vector<std::wstring>& names) {
  for (DWORD index = 0;; ++index) {
    ZeroMemory(buffers.name, buffers.nameUnits * sizeof(wchar_t));
    ZeroMemory(buffers.data, buffers.dataUnits * sizeof(wchar_t));
    DWORD nameUnits = buffers.nameUnits;
    DWORD dataBytes = buffers.dataUnits * sizeof(wchar_t);
    DWORD type = 0;
    LSTATUS status = RegEnumValueW(key, index, buffers.name, &nameUnits, nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffers.data), &dataBytes);
    if (status != ERROR_SUCCESS) return;
    if (type == REG_SZ) names.push_back(portNameOf(buffers.data, dataBytes));
  }
}
}  // namespace

bool CEnumerateSerial::UsingRegistryKey(HKEY key, std::vector<std::wstring>& names) {
  names.clear();
  DWORD longestName = 0;
  DWORD longestData = 0;
  LSTATUS status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    &longestName, &longestData, nullptr, nullptr);
  if (status != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(status));
    return false;
  }
  ValueBuffers buffers;
  if (!allocateValueBuffers(buffers, longestName, longestData)) {
    SetLastError(ERROR_OUTOFMEMORY);
    return false;
  }
  // The list's memory is the only allocation that can throw here.
  try {
    listValues(key, buffers, names);
  } catch (const std::bad_alloc&) {
    names.clear();
    SetLastError(ERROR_OUTOFMEMORY);
    return false;
  }
  return true;
}

bool CEnumerateSerial::UsingRegistry() {
  PortList.clear();
  HKEY key = nullptr;
  LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSerialCommKey, 0, KEY_QUERY_VALUE, &key);
  if (status != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(status));
    return false;
  }
  bool listed = UsingRegistryKey(key, PortList);
  DWORD cause = GetLastError();
  RegCloseKey(key);
  if (!listed) {
    PortList.clear();
    SetLastError(cause);
  }
  return listed;
}

int discoverSerialPorts() {
  HRESULT result = CoInitialize(nullptr);
  if (FAILED(result)) {
    wprintf(L"Failed to initialize COM, Error:%x\n", static_cast<unsigned>(result));
    fflush(stdout);
    return 1;
  }
  result = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  if (FAILED(result)) {
    wprintf(L"Failed to initialize COM security, Error:%x\n", static_cast<unsigned>(result));
    fflush(stdout);
    CoUninitialize();
    return 1;
  }
  wprintf(L"Registry method reports\n");
  int code = 0;
  if (CEnumerateSerial::UsingRegistry()) {
    for (const std::wstring& name : PortList) wprintf(L"%ls\n", name.c_str());
  } else {
    wprintf(L"CEnumerateSerial::UsingRegistry failed, Error:%u\n", static_cast<unsigned>(GetLastError()));
    code = 1;
  }
  fflush(stdout);
  CoUninitialize();
  return code;
}

std::unique_ptr<wchar_t[]> copyPortName(int index) {
  constexpr int kNameUnits = 16;
  std::unique_ptr<wchar_t[]> name(new (std::nothrow) wchar_t[kNameUnits]());
  if (name == nullptr) return nullptr;
  StringCchPrintfW(name.get(), kNameUnits, L"%ls", PortList[static_cast<std::size_t>(index)].c_str());
  return name;
}
