#pragma once
// The fixed query sequences: which queries go out, in which order, and the
// pause the unit wants before each. The caller makes the pauses (the UI
// thread sleeps), so the tables stay portable.
#include <cstddef>

constexpr unsigned kQueryPauseMs = 100;

// A unit answers each of the opening queries within some hundred milliseconds
// of the last one; this long a silence after them means that no unit listens
// on the port, and the operator is told.
constexpr unsigned kUnitAnswerWaitMs = 3000;

struct QueryStep {
  int (*send)();
  unsigned pauseBeforeMs;
};

// What a new connection or a factory reset leaves unknown and a query can
// tell: the video input, the audio input, the buzzer and the versions.
extern const QueryStep kUnitStateQueries[4];
// The four values Network Settings shows.
extern const QueryStep kNetworkQueries[4];

template <std::size_t N>
void runQuerySteps(const QueryStep (&steps)[N], void (*pause)(unsigned ms)) {
  for (const QueryStep& step : steps) {
    if (step.pauseBeforeMs != 0) pause(step.pauseBeforeMs);
    step.send();
  }
}
