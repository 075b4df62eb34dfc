// Feeds received bytes, widened as the serial reader widens them, through the
// reply grammar: the state record keeps its invariants and the effects it
// returns agree with the state (a list item is a resolution index, the buzzer
// item follows the buzzer field, a trackbar moves only for its pending query).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwchar>

#include "protocol/reply_assembly.h"

namespace {
void check(bool holds) {
  if (!holds) std::abort();
}

void checkEffects(const ReplyEffects& effects, const ControlState& state) {
  check(effects.resolutionItem >= -1 && effects.resolutionItem < kResolutionCount);
  if (effects.resolutionItem >= 0) check(effects.resolutionChanged);
  if (effects.buzzerItemText != nullptr) {
    check(effects.buzzerItemChecked == state.buzzerEnabled);
    check(std::wcscmp(effects.buzzerItemText, state.buzzerEnabled ? L"Disable &Buzzer" : L"Enable &Buzzer") == 0);
  }
  check(effects.brightnessMoved == !state.brightnessQueryPending);
  check(effects.contrastMoved == !state.contrastQueryPending);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The reader delivers at most 1023 units, terminated at the first zero byte.
  wchar_t text[1024];
  std::size_t length = 0;
  while (length < size && length < 1023 && data[length] != 0) {
    text[length] = static_cast<wchar_t>(data[length]);
    ++length;
  }
  text[length] = 0;
  ControlState state;
  applyStartValues(state);
  state.brightnessQueryPending = true;
  state.contrastQueryPending = true;
  ReplyEffects effects = parseReplyLines(state, text);
  check(controlStateInvariantsHold(state));
  checkEffects(effects, state);
  return 0;
}
