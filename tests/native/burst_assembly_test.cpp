#include "links/burst_assembly.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
struct Delivery {
  std::wstring text;
  unsigned long count;
  bool operator==(const Delivery& other) const { return text == other.text && count == other.count; }
};

struct Read {
  ReadOutcome outcome;
  std::string bytes;
};

void record(const wchar_t* text, unsigned long count, void* context) {
  static_cast<std::vector<Delivery>*>(context)->push_back({text, count});
}

std::vector<Delivery> run(BurstAssembly& burst, const std::vector<Read>& reads) {
  std::vector<Delivery> got;
  for (const Read& read : reads) {
    takeRead(burst, read.outcome, reinterpret_cast<const unsigned char*>(read.bytes.data()),
             read.bytes.size(), record, &got);
  }
  return got;
}

std::vector<Delivery> run(const std::vector<Read>& reads) {
  BurstAssembly burst;
  return run(burst, reads);
}

std::ostream& operator<<(std::ostream& out, const Delivery& delivery) {
  out << "{";
  for (wchar_t unit : delivery.text) out << (unit >= 0x20 && unit < 0x7f ? static_cast<char>(unit) : '?');
  return out << ", " << delivery.count << "}";
}

// A text of the given length that shows where a piece was cut.
std::string letters(std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
  return text;
}
std::wstring wide(const std::string& bytes) {
  std::wstring text;
  for (unsigned char b : bytes) text += static_cast<wchar_t>(b);
  return text;
}

constexpr ReadOutcome kAtOnce = ReadOutcome::CompletedAtOnce;
constexpr ReadOutcome kLater = ReadOutcome::CompletedLater;
constexpr ReadOutcome kFailed = ReadOutcome::Failed;
constexpr ReadOutcome kEmpty = ReadOutcome::Empty;

struct BurstCase {
  const char* name;
  std::vector<Read> reads;
  std::vector<Delivery> expected;
};
void PrintTo(const BurstCase& value, std::ostream* out) { *out << value.name; }

class BurstAssemblyTest : public testing::TestWithParam<BurstCase> {};

TEST_P(BurstAssemblyTest, DeliversTheExpectedBursts) {
  EXPECT_EQ(run(GetParam().reads), GetParam().expected);
}

const std::string kFull = letters(1023);
const std::string kOneOver = letters(1024);

INSTANTIATE_TEST_SUITE_P(
    Reads, BurstAssemblyTest,
    testing::Values(
        BurstCase{"TwoBytesThenEmpty", {{kLater, "OK"}, {kEmpty, ""}}, {{L"OK", 2}}},
        BurstCase{"BurstOverSeveralReads",
                  {{kLater, "R S"}, {kLater, "OURCE"}, {kLater, ".\r\n"}, {kEmpty, ""}},
                  {{L"R SOURCE.\r\n", 11}}},
        BurstCase{"NothingArrivesNothingDelivered", {{kEmpty, ""}, {kEmpty, ""}, {kLater, ""}, {kAtOnce, ""}}, {}},
        BurstCase{"FailedReadNeitherEndsNorAddsToABurst",
                  {{kLater, "AB"}, {kFailed, "zz"}, {kLater, "CD"}, {kFailed, ""}, {kEmpty, ""}},
                  {{L"ABCD", 4}}},
        BurstCase{"AnEmptyReadsBytesAreIgnoredAndAFailedReadChangesNothing",
                  {{kLater, "AB"}, {kEmpty, "zz"}, {kFailed, ""}, {kEmpty, "zz"}},
                  {{L"AB", 2}}},
        BurstCase{"ReadCompletedAtOnceAppendsToTheBurst",
                  {{kLater, "AB"}, {kAtOnce, "CD"}, {kLater, "E"}, {kEmpty, ""}},
                  {{L"ABCDE", 5}}},
        BurstCase{"ReadCompletedAtOnceEmptyEndsTheBurst",
                  {{kAtOnce, "AB"}, {kAtOnce, ""}, {kEmpty, ""}},
                  {{L"AB", 2}}},
        BurstCase{"ByteAboveAsciiKeepsItsValue", {{kLater, "\xE9\xFF"}, {kEmpty, ""}}, {{L"\u00e9\u00ff", 2}}},
        // A zero byte is skipped and counted; the lines behind it are kept.
        BurstCase{"ZeroByteIsSkippedButCounts",
                  {{kLater, std::string(">X\0Y\r\n>AUDIO 4\r\n", 16)}, {kLater, ">MARK\r\n"}, {kEmpty, ""}},
                  {{L">XY\r\n>AUDIO 4\r\n>MARK\r\n", 23}}},
        BurstCase{"ReadOfOnlyZerosStillDelivers",
                  {{kLater, std::string("\0\0", 2)}, {kEmpty, ""}},
                  {{L"", 2}}},
        BurstCase{"TwoBurstsInTurn",
                  {{kLater, "ONE"}, {kEmpty, ""}, {kEmpty, ""}, {kAtOnce, "TWO"}, {kEmpty, ""}},
                  {{L"ONE", 3}, {L"TWO", 3}}},
        BurstCase{"TextThatJustFitsIsDeliveredWhole", {{kLater, kFull}, {kEmpty, ""}}, {{wide(kFull), 1023}}},
        BurstCase{"FullReadAtOnceComesInPiecesThatFit",
                  {{kAtOnce, kOneOver}, {kEmpty, ""}},
                  {{wide(kOneOver.substr(0, 1023)), 1023}, {L"j", 1}}},
        // The line end of a delivered burst is no place to cut the next one.
        BurstCase{"AFullTextIsNotCutAtTheLineEndOfAnEarlierBurst",
                  {{kLater, "OK\r\n"}, {kEmpty, ""}, {kAtOnce, kOneOver}, {kEmpty, ""}},
                  {{L"OK\r\n", 4}, {wide(kOneOver.substr(0, 1023)), 1023}, {L"j", 1}}},
        BurstCase{"FullTextIsDeliveredWhenTheNextReadBringsMore",
                  {{kLater, kFull}, {kLater, "xy"}, {kEmpty, ""}},
                  {{wide(kFull), 1023}, {L"xy", 2}}},
        BurstCase{"BytesAfterAZeroCountInThePieceTheyArriveIn",
                  {{kLater, letters(1022)}, {kLater, std::string("AB\0\0", 4)}, {kEmpty, ""}},
                  {{wide(letters(1022) + "A"), 1023}, {L"B", 3}}},
        // A reply line that would be cut at the limit goes whole into the next piece.
        BurstCase{"AFullTextIsCutAfterItsLastLineEnd",
                  {{kAtOnce, letters(1008) + "\r\n" + ">HDMI AUDIO MUTE ON\r\n"}, {kEmpty, ""}},
                  {{wide(letters(1008) + "\r\n"), 1010}, {L">HDMI AUDIO MUTE ON\r\n", 21}}},
        BurstCase{"BytesAfterTheLastLineEndCountWithTheLineTheyStart",
                  {{kLater, letters(1008) + "\r\n"}, {kLater, std::string("\0", 1)},
                   {kLater, ">HDMI AUDIO MUTE ON\r\n"}, {kEmpty, ""}},
                  {{wide(letters(1008) + "\r\n"), 1010}, {L">HDMI AUDIO MUTE ON\r\n", 22}}},
        BurstCase{"TheCarriedLineGrowsOnAndEndsItsBurst",
                  {{kLater, letters(500) + "\n" + letters(1000)}, {kEmpty, ""}},
                  {{wide(letters(500) + "\n"), 501}, {wide(letters(1000)), 1000}}},
        // Once cut, the carried line holds no line end: when it fills the
        // text again it goes out as it stands.
        BurstCase{"TheCarriedLineFillsTheTextAgain",
                  {{kAtOnce, letters(500) + "\n" + letters(1600)}, {kEmpty, ""}},
                  {{wide(letters(500) + "\n"), 501}, {wide(letters(1023)), 1023}, {wide(letters(1600).substr(1023)), 577}}},
        BurstCase{"AFullTextEndingInItsLineEndGoesWhole",
                  {{kLater, letters(1021) + "\r\n" + "OK"}, {kEmpty, ""}},
                  {{wide(letters(1021) + "\r\n"), 1023}, {L"OK", 2}}}),
    [](const testing::TestParamInfo<BurstCase>& info) { return std::string(info.param.name); });

// A long run of reply lines in full reads: every piece but the last ends with
// a line end, so no line reaches the parser in two parts.
TEST(BurstAssembly, LongRunsOfLinesArePiecedAtLineEnds) {
  std::string sent;
  for (int i = 0; sent.size() < 5000; ++i) sent += ">SIPR: 10.0.0." + std::to_string(i % 256) + "\r\n";
  std::vector<Read> reads;
  for (std::size_t at = 0; at < sent.size(); at += 1024) reads.push_back({kAtOnce, sent.substr(at, 1024)});
  reads.push_back({kEmpty, ""});
  std::vector<Delivery> got = run(reads);
  ASSERT_GT(got.size(), 4u);
  std::wstring joined;
  unsigned long counted = 0;
  for (const Delivery& delivery : got) {
    EXPECT_LE(delivery.text.size(), 1023u);
    EXPECT_EQ(delivery.text.back(), L'\n');
    joined += delivery.text;
    counted += delivery.count;
  }
  EXPECT_EQ(joined, wide(sent));
  EXPECT_EQ(counted, sent.size());
}

// A completed read that names no buffer brings nothing, whatever its count.
TEST(BurstAssembly, ACompletedReadWithoutBytesBringsNothing) {
  BurstAssembly burst;
  std::vector<Delivery> got;
  takeRead(burst, kLater, nullptr, 5, record, &got);
  takeRead(burst, kEmpty, nullptr, 0, record, &got);
  EXPECT_TRUE(got.empty());
}

// The reads end for good (the device is gone): what came since the last
// delivery goes out, zero bytes counted; nothing when nothing came, and
// nothing twice.
TEST(BurstAssembly, FinishingDeliversWhatCameSinceTheLastDelivery) {
  BurstAssembly burst;
  std::vector<Delivery> got;
  finishBurst(burst, record, &got);
  EXPECT_TRUE(got.empty());
  got = run(burst, {{kLater, "done\r\n"}, {kEmpty, ""}, {kLater, std::string("par\0t", 5)}});
  finishBurst(burst, record, &got);
  finishBurst(burst, record, &got);
  EXPECT_EQ(got, (std::vector<Delivery>{{L"done\r\n", 6}, {L"part", 5}}));
}

TEST(BurstAssembly, ResetForgetsAHalfCollectedBurst) {
  BurstAssembly burst;
  run(burst, {{kLater, "stale"}});
  resetBurstAssembly(burst);
  EXPECT_EQ(run(burst, {{kEmpty, ""}, {kLater, "new"}, {kEmpty, ""}}), (std::vector<Delivery>{{L"new", 3}}));
}
}  // namespace
