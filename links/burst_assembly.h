#pragma once
// How the serial reader turns the outcome of each read into bursts of text
// for the main window. Knows nothing of the platform: the reader maps its
// read results onto ReadOutcome and hands every finished burst to a sink.
#include <cstddef>

// Units of a delivered burst's buffer: at most 1023 units and the terminator.
constexpr int kBurstTextUnits = 1024;

enum class ReadOutcome {
  CompletedAtOnce,  // the read finished inside its start, with some bytes
  CompletedLater,   // the read pended and then finished, with some bytes
  Failed,           // the read or asking for its result failed
  Empty,            // the read came back with nothing (a time-out under Wine)
};

// Receives one burst: its text (terminated, at most 1023 units) and the count
// of bytes it covers. The text is valid only during the call.
using BurstSink = void (*)(const wchar_t* text, unsigned long count, void* context);

struct BurstAssembly {
  wchar_t collected[kBurstTextUnits] = {};  // text of the burst so far, terminated
  int collectedUnits = 0;
  unsigned long burstCount = 0;  // bytes the burst so far covers
  bool gotData = false;          // a byte has come since the last delivery
  // The collected text up to and including its last line end (LF); 0 while
  // the text holds no line end. The bytes counted up to there are set with
  // it and mean nothing while it is 0.
  int lineEndUnits = 0;
  unsigned long countAtLineEnd = 0;
};

void resetBurstAssembly(BurstAssembly& burst);

// Takes one read: bytes/count are what it brought (ignored unless completed).
// Delivers a burst when a read comes back empty after bytes had come. A text
// that fills its 1023 units before that is delivered up to its last line end,
// and the rest starts the next delivery, so that the parser, which keeps
// nothing between deliveries, never sees a reply line cut in two; only a full
// text without any line end goes out as it stands.
void takeRead(BurstAssembly& burst, ReadOutcome outcome, const unsigned char* bytes,
              std::size_t count, BurstSink sink, void* context);

// The reads have ended for good (the port's device is gone): delivers what
// came since the last delivery, as an empty read would, so no byte that
// arrived before the end is lost. Nothing when nothing came.
void finishBurst(BurstAssembly& burst, BurstSink sink, void* context);
