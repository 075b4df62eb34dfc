#include "links/burst_assembly.h"

namespace {
constexpr int kMaxTextUnits = kBurstTextUnits - 1;

void deliverAll(BurstAssembly& burst, BurstSink sink, void* context) {
  burst.collected[burst.collectedUnits] = 0;
  unsigned long count = burst.burstCount;
  sink(burst.collected, count, context);
  burst.collectedUnits = 0;
  burst.collected[0] = 0;
  burst.burstCount = 0;
  burst.lineEndUnits = 0;
}

// The text is full: hand over its complete lines and keep the started one.
// The bytes counted after the last line end belong to the kept part.
void deliverCompleteLines(BurstAssembly& burst, BurstSink sink, void* context) {
  int lineEnd = burst.lineEndUnits;
  if (lineEnd == 0 || lineEnd == burst.collectedUnits) {
    deliverAll(burst, sink, context);
    return;
  }
  wchar_t firstKept = burst.collected[lineEnd];
  burst.collected[lineEnd] = 0;
  sink(burst.collected, burst.countAtLineEnd, context);
  burst.collected[lineEnd] = firstKept;
  int kept = burst.collectedUnits - lineEnd;
  for (int i = 0; i < kept; ++i) burst.collected[i] = burst.collected[lineEnd + i];
  burst.collected[kept] = 0;
  burst.collectedUnits = kept;
  burst.burstCount -= burst.countAtLineEnd;
  burst.lineEndUnits = 0;
}

// The unit's text is single-byte: byte b is the unit of the same value. A zero
// byte (line noise, or padding) has no place in a terminated text: it is
// skipped but still counted, and the bytes after it are kept, so the reply
// lines behind it still reach the parser.
void appendBytes(BurstAssembly& burst, const unsigned char* bytes, std::size_t count,
                 BurstSink sink, void* context) {
  for (std::size_t i = 0; i < count; ++i) {
    if (bytes[i] == 0) {
      ++burst.burstCount;
      continue;
    }
    if (burst.collectedUnits == kMaxTextUnits) deliverCompleteLines(burst, sink, context);
    burst.collected[burst.collectedUnits++] = static_cast<wchar_t>(bytes[i]);
    burst.collected[burst.collectedUnits] = 0;
    ++burst.burstCount;
    if (bytes[i] == '\n') {
      burst.lineEndUnits = burst.collectedUnits;
      burst.countAtLineEnd = burst.burstCount;
    }
  }
}
}  // namespace

void resetBurstAssembly(BurstAssembly& burst) { burst = BurstAssembly{}; }

void takeRead(BurstAssembly& burst, ReadOutcome outcome, const unsigned char* bytes,
              std::size_t count, BurstSink sink, void* context) {
  switch (outcome) {
    case ReadOutcome::Failed:
      return;
    case ReadOutcome::Empty:
      count = 0;
      break;
    case ReadOutcome::CompletedAtOnce:
    case ReadOutcome::CompletedLater:
      if (bytes == nullptr) count = 0;
      break;
  }
  if (count > 0) {
    burst.gotData = true;
    appendBytes(burst, bytes, count, sink, context);
    return;
  }
  // A read that comes back empty after bytes had come ends the burst.
  finishBurst(burst, sink, context);
}

void finishBurst(BurstAssembly& burst, BurstSink sink, void* context) {
  if (!burst.gotData) return;
  burst.gotData = false;
  deliverAll(burst, sink, context);
}
