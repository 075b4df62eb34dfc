#include "protocol/network_rows.h"

#include <gtest/gtest.h>

#include <climits>

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
        // Leading white space is skipped, trailing non-digits end the number.
        AddressRowCase{{L" 7", L"\t8", L"9x", L"1 2"}, true, {7, 8, 9, 1}},
        // Text without leading digits reads as 0, which is in range.
        AddressRowCase{{L"abc", L"1", L"2", L"3"}, true, {0, 1, 2, 3}},
        AddressRowCase{{L"", L"168", L"1", L"20"}, false, {}},
        AddressRowCase{{L"192", L"168", L"1", L""}, false, {}},
        AddressRowCase{{L"256", L"1", L"2", L"3"}, false, {}},
        AddressRowCase{{L"-1", L"2", L"3", L"4"}, false, {}},
        AddressRowCase{{L"1", L"2", L"99999999999999999999", L"4"}, false, {}},
        // 2^32 + 1 must not wrap into the octet range.
        AddressRowCase{{L"4294967297", L"1", L"1", L"1"}, false, {}}));

TEST(AddressRow, NullTextIsAnEmptyEdit) {
  const wchar_t* texts[4] = {L"1", nullptr, L"2", L"3"};
  int values[4];
  EXPECT_FALSE(validateAddressRow(texts, values));
}

// Every octet is read even after an earlier one has failed.
TEST(AddressRow, ReadsAllFourOctetsAfterAFailure) {
  const wchar_t* texts[4] = {L"", L"300", L"7", L"42"};
  int values[4] = {-9, -9, -9, -9};
  EXPECT_FALSE(validateAddressRow(texts, values));
  EXPECT_EQ(values[1], 300);
  EXPECT_EQ(values[2], 7);
  EXPECT_EQ(values[3], 42);
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
                                         PortCase{L"  80", true, 80}, PortCase{L"x", true, 0},
                                         PortCase{L"", false, 0}, PortCase{L"65536", false, 0},
                                         PortCase{L"-1", false, 0}, PortCase{L"2147483648", false, 0},
                                         PortCase{L"-2147483649", false, 0},
                                         PortCase{L"4294967296", false, 0}));

TEST(PortRow, NullTextIsAnEmptyEdit) {
  int value = 0;
  EXPECT_FALSE(validatePortRow(nullptr, &value));
}

TEST(EditNumber, EmptyTextHasNoNumber) {
  int value = 77;
  EXPECT_FALSE(readEditNumber(L"", &value));
  EXPECT_TRUE(readEditNumber(L"x", &value));
  EXPECT_EQ(value, 0);
  EXPECT_TRUE(readEditNumber(L"99999999999", &value));
  EXPECT_EQ(value, INT_MAX);
}
