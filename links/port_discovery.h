#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// The serial port names found at start-up, in registry order; unchanged after.
extern std::vector<std::wstring> PortList;

class CEnumerateSerial {
 public:
  // Lists HKLM\HARDWARE\DEVICEMAP\SERIALCOMM into PortList. On false the list
  // is empty and the last error holds the cause.
  static bool UsingRegistry();
  // The enumeration itself, on any key opened with KEY_QUERY_VALUE.
  static bool UsingRegistryKey(HKEY key, std::vector<std::wstring>& names);
};

// Start-up step: COM around the listing, the names on standard output.
// 0 listed; 1 COM, COM security or the listing failed.
int discoverSerialPorts();

// Entry index of PortList cut to 15 units, in a new 16-unit buffer; null when
// no memory could be had.
std::unique_ptr<wchar_t[]> copyPortName(int index);
