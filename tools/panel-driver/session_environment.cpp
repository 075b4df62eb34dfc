#include "tools/panel-driver/session_environment.h"

#include <cstdlib>
#include <cstring>

namespace {
std::wstring variable(const char* name, const wchar_t* fallback) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == 0) return fallback;
  return std::wstring(value, value + std::strlen(value));
}

// A Unix path as the prefix's drive Z: shows it.
std::wstring throughDriveZ(const std::wstring& unixPath) {
  if (unixPath.empty()) return {};
  std::wstring path = L"Z:" + unixPath;
  for (wchar_t& unit : path) {
    if (unit == L'/') unit = L'\\';
  }
  return path;
}
}  // namespace

std::wstring testPortName() { return variable("VRX_TEST_PORT", L"COM7"); }
std::wstring testPeerName() { return variable("VRX_TEST_PEER", L"COM8"); }
std::wstring testPort2Name() { return variable("VRX_TEST_PORT2", L"COM12"); }
std::wstring testPeer2Name() { return variable("VRX_TEST_PEER2", L"COM13"); }
std::wstring deadPortName() { return variable("VRX_TEST_DEAD_PORT", L""); }
std::wstring unplugPortName() { return variable("VRX_TEST_UNPLUG_PORT", L""); }
std::wstring unplugPeerName() { return variable("VRX_TEST_UNPLUG_PEER", L""); }

std::wstring rigFile(const wchar_t* name) {
  std::wstring directory = variable("VRX_RIG_DIR", L"");
  if (directory.empty()) return {};
  return throughDriveZ(directory + L"/" + name);
}

std::wstring simPortName() { return variable("VRX_SIM_PORT", L"COM2"); }

unsigned short simTcpPort() {
  return static_cast<unsigned short>(std::wcstoul(variable("VRX_SIM_TCP_PORT", L"10240").c_str(), nullptr, 10));
}

std::wstring simTranscriptPath() { return throughDriveZ(variable("VRX_SIM_TRANSCRIPT", L"")); }
