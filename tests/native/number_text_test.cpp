#include "protocol/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

struct DecimalCase {
  const wchar_t* text;
  int expected;
};

class ParseDecimalTest : public testing::TestWithParam<DecimalCase> {};

// The stretch ends where the text ends; a digit right past it is not read.
TEST_P(ParseDecimalTest, ReadsLikeTheRuntimesWideConversion) {
  EXPECT_EQ(parseDecimal(GetParam().text), GetParam().expected) << GetParam().text;
  std::wstring followed = std::wstring(GetParam().text) + L"9";
  const wchar_t* begin = followed.c_str();
  EXPECT_EQ(parseDecimal(begin, begin + followed.size() - 1), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseDecimalTest,
    testing::Values(DecimalCase{L"", 0}, DecimalCase{L"abc", 0}, DecimalCase{L"42", 42},
                    DecimalCase{L"010", 10}, DecimalCase{L" \t\n\v\f\r7x", 7}, DecimalCase{L"-5", -5},
                    DecimalCase{L"+5", 5}, DecimalCase{L"+-5", 0}, DecimalCase{L"- 5", 0},
                    DecimalCase{L"1.2", 1}, DecimalCase{L"2147483647", INT_MAX},
                    DecimalCase{L"2147483648", INT_MAX}, DecimalCase{L"-2147483648", INT_MIN},
                    DecimalCase{L"-2147483649", INT_MIN},
                    DecimalCase{L"99999999999999999999999999999999", INT_MAX},
                    DecimalCase{L"-99999999999999999999999999999999", INT_MIN},
                    DecimalCase{L"65536", 65536}, DecimalCase{L"\u00e9 1", 0}));

struct QuadCase {
  const wchar_t* text;
  int expected[4];
};

class DottedQuadTest : public testing::TestWithParam<QuadCase> {};

TEST_P(DottedQuadTest, ReadsFourOctets) {
  int out[4] = {-7, -7, -7, -7};
  parseDottedQuad(GetParam().text, out);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(out[i], GetParam().expected[i]) << GetParam().text << " octet " << i;
  std::wstring followed = std::wstring(GetParam().text) + L".9";
  const wchar_t* begin = followed.c_str();
  parseDottedQuad(begin, begin + followed.size() - 2, out);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(out[i], GetParam().expected[i]) << GetParam().text << " stretch " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DottedQuadTest,
    testing::Values(QuadCase{L" 192.168.1.20", {192, 168, 1, 20}},
                    // Without dots the same text is read again for each octet.
                    QuadCase{L" 10", {10, 10, 10, 10}}, QuadCase{L"1.2", {1, 2, 2, 2}},
                    QuadCase{L"", {0, 0, 0, 0}}, QuadCase{L"...", {0, 0, 0, 0}},
                    QuadCase{L"1.2.3.4.5", {1, 2, 3, 4}}, QuadCase{L"a.b.c.d", {0, 0, 0, 0}},
                    QuadCase{L"300.-1.99999999999.4", {300, -1, INT_MAX, 4}}));
