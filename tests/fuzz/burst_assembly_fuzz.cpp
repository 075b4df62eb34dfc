// Drives the burst assembly with arbitrary read outcomes. Each read is one
// byte of kind, one byte of length, then that many bytes. Whatever the reads,
// every delivered text fits the receive buffer, the delivered texts and
// counts add up to what the completed reads brought (zero bytes counted but
// not in the text), and a text delivered
// because it filled the buffer (while a read brought bytes) ends at a line
// end, unless it is a full text without any line end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "links/burst_assembly.h"

namespace {
struct Seen {
  std::wstring texts;
  unsigned long counted = 0;
  bool readBroughtBytes = false;   // a delivery now is one forced by the limit
};

void check(bool holds) {
  if (!holds) abort();
}

void record(const wchar_t* text, unsigned long count, void* context) {
  Seen& seen = *static_cast<Seen*>(context);
  std::size_t length = 0;
  while (length < kBurstTextUnits && text[length] != 0) ++length;
  check(length < kBurstTextUnits);
  check(count >= length);
  if (seen.readBroughtBytes) {
    std::wstring delivered(text, length);
    bool endsWithLineEnd = length > 0 && text[length - 1] == L'\n';
    bool fullWithoutLineEnd = length == kBurstTextUnits - 1 && delivered.find(L'\n') == std::wstring::npos;
    check(endsWithLineEnd || fullWithoutLineEnd);
  }
  seen.texts.append(text, length);
  seen.counted += count;
}

const ReadOutcome kOutcomes[] = {ReadOutcome::CompletedAtOnce, ReadOutcome::CompletedLater,
                                 ReadOutcome::Failed, ReadOutcome::Empty};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BurstAssembly burst;
  Seen seen;
  std::wstring expected;
  unsigned long expectedCount = 0;
  std::size_t at = 0;
  while (at + 2 <= size) {
    ReadOutcome outcome = kOutcomes[data[at] % 4];
    // Lengths up to 1275 bytes, so reads larger than one buffer come up too.
    std::size_t length = static_cast<std::size_t>(data[at + 1]) * (data[at] & 0x80 ? 5 : 1);
    at += 2;
    if (length > size - at) length = size - at;
    const uint8_t* bytes = data + at;
    at += length;
    bool completed = outcome == ReadOutcome::CompletedAtOnce || outcome == ReadOutcome::CompletedLater;
    if (completed) {
      for (std::size_t i = 0; i < length; ++i)
        if (bytes[i] != 0) expected += static_cast<wchar_t>(bytes[i]);
      expectedCount += static_cast<unsigned long>(length);
    }
    seen.readBroughtBytes = completed && length > 0;
    takeRead(burst, outcome, bytes, length, record, &seen);
    check(burst.collectedUnits < kBurstTextUnits && burst.collected[burst.collectedUnits] == 0);
    check(seen.texts.size() + static_cast<std::size_t>(burst.collectedUnits) == expected.size());
    check(seen.counted + burst.burstCount == expectedCount);
  }
  check(seen.texts == expected.substr(0, seen.texts.size()));
  check(std::wstring(burst.collected) == expected.substr(seen.texts.size()));
  return 0;
}
