#include "links/burst_assembly.h"

namespace {
constexpr int kMaxTextUnits = kBurstTextUnits - 1;

void deliver(BurstAssembly& burst, BurstSink sink, void* context) {
  burst.collected[burst.collectedUnits] = 0;
  unsigned long count = burst.burstCount;
  sink(burst.collected, count, context);
  burst.collectedUnits = 0;
  burst.collected[0] = 0;
  burst.burstCount = 0;
}

// The unit's text is single-byte: byte b is the unit of the same value. A zero
// byte ends the text of its read, but every byte still counts.
void appendBytes(BurstAssembly& burst, const unsigned char* bytes, std::size_t count,
                 BurstSink sink, void* context) {
  bool textEnded = false;
  for (std::size_t i = 0; i < count; ++i) {
    if (bytes[i] == 0) textEnded = true;
    if (!textEnded) {
      if (burst.collectedUnits == kMaxTextUnits) deliver(burst, sink, context);
      burst.collected[burst.collectedUnits++] = static_cast<wchar_t>(bytes[i]);
      burst.collected[burst.collectedUnits] = 0;
    }
    ++burst.burstCount;
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
  burst.lastCount = static_cast<unsigned long>(count);
  if (count > 0) {
    burst.gotData = true;
    appendBytes(burst, bytes, count, sink, context);
    return;
  }
  // A read that comes back empty after bytes had come ends the burst.
  if (burst.gotData) {
    burst.gotData = false;
    deliver(burst, sink, context);
  }
}
