#include "protocol/network_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct AddressRowCase {
  const wchar_t* texts[4];
  bool valid;
  int values[4];   // compared only when valid
};

class AddressRowTest : public testing::TestWithParam<AddressRowCase> {};

TEST_P(AddressRowTest, AcceptsFourOctetsFromZeroTo255) {
  const AddressRowCase& c = GetParam();
  int values[4] = {-9, -9, -9, -9};
  EXPECT_EQ(validateAddressRow(c.texts, values), c.valid);
  if (c.valid) {
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(values[i], c.values[i]) << "octet " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AddressRowTest,
    testing::Values(
        AddressRowCase{{L"192", L"168", L"1", L"20"}, true, {192, 168, 1, 20}},
        AddressRowCase{{L"0", L"0", L"0", L"0"}, true, {0, 0, 0, 0}},
        AddressRowCase{{L"255", L"255", L"255", L"255"}, true, {255, 255, 255, 255}},
        // A mask need not be a contiguous run of one-bits.
        AddressRowCase{{L"255", L"0", L"255", L"0"}, true, {255, 0, 255, 0}},
        AddressRowCase{{L"010", L"0010", L"1", L"2"}, true, {10, 10, 1, 2}},
        AddressRowCase{{L"", L"168", L"1", L"20"}, false, {}},
        AddressRowCase{{L"192", L"168", L"1", L""}, false, {}},
        AddressRowCase{{L"256", L"1", L"2", L"3"}, false, {}},
        AddressRowCase{{L"1", L"2", L"99999999999999999999", L"4"}, false, {}},
        // 2^32 + 1 must not wrap into the octet range.
        AddressRowCase{{L"4294967297", L"1", L"1", L"1"}, false, {}}));

// Pasted text is not held to the edits' digits-only style: a text that is not
// decimal digits alone is no number, wherever in the row it stands.
class PastedOctetTest : public testing::TestWithParam<const wchar_t*> {};

TEST_P(PastedOctetTest, MakesItsRowInvalid) {
  for (int column = 0; column < 4; ++column) {
    const wchar_t* texts[4] = {L"10", L"20", L"30", L"40"};
    texts[column] = GetParam();
    int values[4];
    EXPECT_FALSE(validateAddressRow(texts, values)) << "column " << column;
  }
  int port = -9;
  EXPECT_FALSE(validatePortRow(GetParam(), &port));
  EXPECT_EQ(port, 0);
}

INSTANTIATE_TEST_SUITE_P(Texts, PastedOctetTest,
                         testing::Values(L"0x10", L"1a", L"1.5", L"7 8", L" 12", L"12 ", L"+5", L"-0", L"-1",
                                         L"12\r\n", L"\t8", L"abc", L"\u0661"));

TEST(AddressRow, NullTextIsAnEmptyEdit) {
  const wchar_t* texts[4] = {L"1", nullptr, L"2", L"3"};
  int values[4];
  EXPECT_FALSE(validateAddressRow(texts, values));
}

// Every octet is read even after an earlier one has failed; a text that is
// no number reads as 0.
TEST(AddressRow, ReadsAllFourOctetsAfterAFailure) {
  const wchar_t* texts[4] = {L"", L"300", L"7", L"42"};
  int values[4] = {-9, -9, -9, -9};
  EXPECT_FALSE(validateAddressRow(texts, values));
  EXPECT_EQ(std::vector<int>(values, values + 4), (std::vector<int>{0, 300, 7, 42}));
}

struct PortCase {
  const wchar_t* text;
  bool valid;
  int value;   // compared only when valid
};

class PortRowTest : public testing::TestWithParam<PortCase> {};

TEST_P(PortRowTest, AcceptsZeroTo65535) {
  int value = -9;
  EXPECT_EQ(validatePortRow(GetParam().text, &value), GetParam().valid) << GetParam().text;
  if (GetParam().valid) {
    EXPECT_EQ(value, GetParam().value);
  }
}

INSTANTIATE_TEST_SUITE_P(Ports, PortRowTest,
                         testing::Values(PortCase{L"0", true, 0}, PortCase{L"1024", true, 1024},
                                         PortCase{L"65535", true, 65535}, PortCase{L"065535", true, 65535},
                                         PortCase{L"", false, 0}, PortCase{L"65536", false, 0},
                                         PortCase{L"2147483648", false, 0}, PortCase{L"4294967296", false, 0}));
