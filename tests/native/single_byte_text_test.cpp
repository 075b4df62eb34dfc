// The links' single-byte conversion at its limits. Text and bytes are heap
// buffers of exact size, so ASan sees a unit read before or past the text and
// a byte written outside its buffer; the bytes start as garbage, so a byte
// left unwritten shows.
#include "links/single_byte_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {
// A heap copy of text, terminator included and nothing more; null stays null.
std::unique_ptr<wchar_t[]> exactCopy(const wchar_t* text) {
  if (text == nullptr) return nullptr;
  std::wstring held(text);
  std::unique_ptr<wchar_t[]> copy(new wchar_t[held.size() + 1]);
  held.copy(copy.get(), held.size());
  copy[held.size()] = 0;
  return copy;
}

struct ConversionCase {
  const wchar_t* text;
  int size;
  std::string bytes;   // all size of them
  bool converted;      // what toSingleByte returns
  bool singleByte;     // what hasSingleByteForm says of the whole text
};

class SingleByteTest : public testing::TestWithParam<ConversionCase> {};

TEST_P(SingleByteTest, FillsExactlyItsBytes) {
  const ConversionCase& c = GetParam();
  const std::size_t size = static_cast<std::size_t>(c.size);
  std::unique_ptr<wchar_t[]> text = exactCopy(c.text);
  std::unique_ptr<char[]> bytes(new char[size]);
  std::string(size, '#').copy(bytes.get(), size);
  EXPECT_EQ(toSingleByte(text.get(), c.size, bytes.get()), c.converted);
  EXPECT_EQ(std::string(bytes.get(), size), c.bytes);
  EXPECT_EQ(hasSingleByteForm(text.get()), c.singleByte);
}

// Only the units within size are converted: a unit above U+00FF past them is
// not looked at there (the serial link checks the whole text first).
INSTANTIATE_TEST_SUITE_P(
    Texts, SingleByteTest,
    testing::Values(ConversionCase{L"R AUDIO.", 9, std::string("R AUDIO.\0", 9), true, true},
                    ConversionCase{L"Contrast*", 11, std::string("Contrast*\0\0", 11), true, true},
                    ConversionCase{L"S SOURCE 12.", 4, "S SO", true, true},
                    ConversionCase{L"", 2, std::string(2, '\0'), true, true},
                    ConversionCase{nullptr, 3, std::string(3, '\0'), true, true},
                    ConversionCase{L"x", 0, "", true, true},
                    ConversionCase{L"\u00e9\u00ff", 3, std::string("\xE9\xFF\0", 3), true, true},
                    ConversionCase{L"a\u0100b", 4, std::string(4, '\0'), false, false},
                    ConversionCase{L"ab\u0100", 2, "ab", true, false},
                    ConversionCase{L"\u0101", 3, std::string(3, '\0'), false, false}));
}  // namespace
