// Bounded copying and formatting at their limits, into heap buffers of exact
// size that start as garbage: the result is cut to size - 1 units and always
// terminated, nothing is written past the buffer, and the return says whether
// the text was cut.
#include "protocol/bounded_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

namespace {
struct BoundedCase {
  const wchar_t* text;
  std::size_t size;
  std::size_t kept;   // units of the text before the terminator
  bool fits;
};

class BoundedTextTest : public testing::TestWithParam<BoundedCase> {};

TEST_P(BoundedTextTest, CopyAndFormatCutToSizeAndTerminate) {
  const BoundedCase& c = GetParam();
  for (bool format : {false, true}) {
    std::unique_ptr<wchar_t[]> out(new wchar_t[c.size]);
    std::fill(out.get(), out.get() + c.size, L'#');
    EXPECT_EQ(format ? formatBounded(out.get(), c.size, L"%ls", c.text) : copyBounded(out.get(), c.size, c.text),
              c.fits);
    if (c.size > 0) {
      EXPECT_EQ(std::wstring(out.get(), c.kept + 1), std::wstring(c.text, c.kept) + L'\0');
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, BoundedTextTest,
                         testing::Values(BoundedCase{L"abc", 4, 3, true}, BoundedCase{L"abcd", 4, 3, false},
                                         BoundedCase{L"", 1, 0, true}, BoundedCase{L"a", 1, 0, false},
                                         BoundedCase{L"abc", 0, 0, false}));

// The size is a limit, not a length: the largest there is cuts nothing.
TEST(BoundedText, TheLargestSizeKeepsTheWholeText) {
  wchar_t out[4] = {L'#', L'#', L'#', L'#'};
  EXPECT_TRUE(formatBounded(out, SIZE_MAX, L"x%d", 5));
  EXPECT_EQ(std::wstring(out, 4), std::wstring(L"x5\0#", 4));
  EXPECT_TRUE(copyBounded(out, SIZE_MAX, L"abc"));
  EXPECT_EQ(std::wstring(out, 4), std::wstring(L"abc\0", 4));
}

// Formatting goes through a scratch buffer of 8192 units: a longer result is
// cut to 8191 units, and says so, however much room the caller gave.
TEST(BoundedText, AFormattedResultIsCutAtTheScratchLimit) {
  for (std::size_t length : {8191u, 8192u}) {
    std::wstring text(length, L'a');
    std::unique_ptr<wchar_t[]> out(new wchar_t[length + 2]);
    EXPECT_EQ(formatBounded(out.get(), length + 2, L"%ls", text.c_str()), length == 8191);
    EXPECT_EQ(std::wstring(out.get()), text.substr(0, 8191));
  }
}
}  // namespace
