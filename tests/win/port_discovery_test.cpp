// Port listing on registry keys of the test's own under HKCU, and on the
// machine's real SERIALCOMM key, where the test rig maps its pty pairs.
#include "links/port_discovery.h"

#include <gtest/gtest.h>
#include <strsafe.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tools/panel-driver/session_environment.h"

namespace {
struct Value {
  const wchar_t* name;
  DWORD type;
  std::wstring data;     // for the string types, its units
  DWORD dataBytes;       // bytes stored; 0 means the data and its terminator
};

class PortKeyTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t path[128];
    StringCchPrintfW(path, 128, L"Software\\VrxTest\\ports-%lu-%lu", GetCurrentProcessId(), GetTickCount());
    keyPath = path;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    if (key != nullptr) RegCloseKey(key);
    RegDeleteTreeW(HKEY_CURRENT_USER, keyPath.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, keyPath.c_str());
  }
  void store(const Value& value) {
    DWORD bytes = value.dataBytes != 0 ? value.dataBytes
                                       : static_cast<DWORD>((value.data.size() + 1) * sizeof(wchar_t));
    ASSERT_EQ(RegSetValueExW(key, value.name, 0, value.type, reinterpret_cast<const BYTE*>(value.data.c_str()),
                             bytes),
              ERROR_SUCCESS);
  }
  HKEY queryKey() {
    HKEY query = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, &query), ERROR_SUCCESS);
    return query;
  }

  std::wstring keyPath;
  HKEY key = nullptr;
};

struct KeyCase {
  const char* name;
  std::vector<Value> values;  // stored in this order, named in index order
  std::vector<std::wstring> expected;
};
void PrintTo(const KeyCase& value, std::ostream* out) { *out << value.name; }

class PortListingTest : public PortKeyTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(PortListingTest, ListsTheStringDataInIndexOrder) {
  for (const Value& value : GetParam().values) store(value);
  HKEY query = queryKey();
  std::vector<std::wstring> names = {L"stale"};
  EXPECT_TRUE(CEnumerateSerial::UsingRegistryKey(query, names));
  RegCloseKey(query);
  EXPECT_EQ(names, GetParam().expected);
}

const std::wstring kMultiString(L"COM1\0COM2\0", 11);

INSTANTIATE_TEST_SUITE_P(
    Keys, PortListingTest,
    testing::Values(
        KeyCase{"TwoStrings",
                {{L"\\Device\\Serial0", REG_SZ, L"COM7", 0}, {L"\\Device\\Serial1", REG_SZ, L"COM8", 0}},
                {L"COM7", L"COM8"}},
        KeyCase{"OtherTypesSkipped",
                {{L"\\Device\\Serial0", REG_SZ, L"COM3", 0},
                 {L"\\Device\\Serial1", REG_DWORD, std::wstring(2, L'\x7'), 4},
                 {L"\\Device\\Serial2", REG_MULTI_SZ, kMultiString, 0},
                 {L"\\Device\\Serial3", REG_EXPAND_SZ, L"COM9", 0},
                 {L"\\Device\\Serial4", REG_SZ, L"COM4", 0}},
                {L"COM3", L"COM4"}},
        KeyCase{"EmptyKey", {}, {}},
        KeyCase{"EvenLengthStringWithoutTerminator",
                {{L"\\Device\\Serial0", REG_SZ, L"COM12345", 16}, {L"\\Device\\Serial1", REG_SZ, L"COM5", 8}},
                {L"COM12345", L"COM5"}},
        // The last byte of an odd count is half a unit: the name ends before it.
        KeyCase{"OddByteCountEndsAtTheLastWholeUnit", {{L"\\Device\\Serial0", REG_SZ, L"COMX", 7}}, {L"COM"}},
        KeyCase{"OddByteCountBesideALongerValue",
                {{L"\\Device\\Serial0", REG_SZ, L"COMX", 7}, {L"\\Device\\Serial1", REG_SZ, L"COM15", 0}},
                {L"COM", L"COM15"}},
        KeyCase{"DataEndsAtItsFirstZero",
                {{L"\\Device\\Serial0", REG_SZ, std::wstring(L"COM6\0junk", 9), 20}},
                {L"COM6"}},
        KeyCase{"DuplicatesStay",
                {{L"\\Device\\Serial0", REG_SZ, L"COM6", 0}, {L"\\Device\\Serial1", REG_SZ, L"COM6", 0}},
                {L"COM6", L"COM6"}},
        KeyCase{"LongNameAndData",
                {{L"\\Device\\VeryLongSerialDeviceNameNumber0", REG_SZ,
                  L"\\\\.\\A-port-name-far-longer-than-any-menu-item", 0}},
                {L"\\\\.\\A-port-name-far-longer-than-any-menu-item"}}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(PortKeyTest, KeyThatCannotBeQueriedFailsWithTheRegistryStatus) {
  store({L"\\Device\\Serial0", REG_SZ, L"COM7", 0});
  HKEY query = queryKey();
  RegCloseKey(query);
  std::vector<std::wstring> names = {L"COM1"};
  SetLastError(0);
  EXPECT_FALSE(CEnumerateSerial::UsingRegistryKey(query, names));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(names.empty());
}

struct CopyCase {
  const wchar_t* entry;
  const wchar_t* copied;
};
void PrintTo(const CopyCase& value, std::ostream* out) { *out << std::wstring(value.entry).size() << " units"; }

class CopyPortNameTest : public testing::TestWithParam<CopyCase> {};

TEST_P(CopyPortNameTest, CopiesAtMostFifteenUnits) {
  PortList = {L"COM1", GetParam().entry};
  std::unique_ptr<wchar_t[]> copy = copyPortName(1);
  EXPECT_EQ(std::wstring(copy.get()), GetParam().copied);
}

INSTANTIATE_TEST_SUITE_P(Names, CopyPortNameTest,
                         testing::Values(CopyCase{L"COM7", L"COM7"}, CopyCase{L"ABCDEFGHIJKLMNOPQRST", L"ABCDEFGHIJKLMNO"},
                                         CopyCase{L"caf\u00e9-port-name-long", L"caf\u00e9-port-name-"}));

// The start-up step on the machine's own key, where the rig maps its ports.
TEST(DiscoverSerialPorts, ListsTheMachinesPortsOnStandardOutput) {
  PortList = {L"stale"};
  int code = -1;
  testing::internal::CaptureStdout();
  code = discoverSerialPorts();
  std::string out = testing::internal::GetCapturedStdout();
  ASSERT_EQ(code, 0) << out;
  std::string expected = "Registry method reports\n";
  for (const std::wstring& name : PortList) expected += std::string(name.begin(), name.end()) + "\n";
  EXPECT_EQ(out, expected);
  for (const std::wstring& port : {testPortName(), testPeerName()}) {
    EXPECT_NE(std::find(PortList.begin(), PortList.end(), port), PortList.end()) << out;
  }
}
}  // namespace
