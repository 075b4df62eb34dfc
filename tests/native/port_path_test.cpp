// The path each listed port name is opened by, and the limit of its buffer.
// The output is a heap buffer of exactly the size given, so ASan sees a unit
// written past it.
#include "links/port_path.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

struct PathCase {
  const wchar_t* name;
  std::size_t size;
  const wchar_t* path;
  bool fits;
};

class PortPathTest : public testing::TestWithParam<PathCase> {};

// The buffer's room: the prefix and a name of up to 255 units, a file name's
// limit, terminated (Windows' 260-unit path).
const std::wstring kLongestName(255, L'C');
const std::wstring kLongestPath = L"\\\\.\\" + kLongestName;
const std::wstring kTooLongName = kLongestName + L'C';

TEST_P(PortPathTest, OpensTheDeviceNamespaceFormOfTheName) {
  const PathCase& c = GetParam();
  std::unique_ptr<wchar_t[]> out(new wchar_t[c.size]);
  for (std::size_t i = 0; i < c.size; ++i) out[i] = L'#';
  EXPECT_EQ(portDevicePath(c.name, out.get(), c.size), c.fits);
  EXPECT_EQ(std::wstring(out.get()), c.path);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PortPathTest,
    testing::Values(PathCase{L"COM3", kPortPathUnits, L"\\\\.\\COM3", true},
                    PathCase{L"COM12", kPortPathUnits, L"\\\\.\\COM12", true},
                    PathCase{L"CNCA0", kPortPathUnits, L"\\\\.\\CNCA0", true},
                    PathCase{L"\\\\.\\COM7", kPortPathUnits, L"\\\\.\\COM7", true},
                    PathCase{L"COM\\1", kPortPathUnits, L"COM\\1", true},
                    // Exactly full, and one unit short: a cut path is no path.
                    PathCase{L"COM12", 10, L"\\\\.\\COM12", true},
                    PathCase{L"COM12", 9, L"", false},
                    PathCase{L"COM12", 1, L"", false},
                    PathCase{kLongestName.c_str(), kPortPathUnits, kLongestPath.c_str(), true},
                    PathCase{kTooLongName.c_str(), kPortPathUnits, L"", false}));

TEST(PortPath, NoRoomWritesNothing) {
  wchar_t untouched = L'#';
  EXPECT_FALSE(portDevicePath(L"COM1", &untouched, 0));
  EXPECT_EQ(untouched, L'#');
}
