#include "tools/harness/port_items.h"

#include <windows.h>

#include <vector>

#include "links/port_discovery.h"

int portItemIndex(const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return -1;
  std::vector<std::wstring> names;
  bool listed = CEnumerateSerial::UsingRegistryKey(key, names);
  RegCloseKey(key);
  if (!listed) return -1;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) return static_cast<int>(i);
  }
  return -1;
}
