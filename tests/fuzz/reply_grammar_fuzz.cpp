// Feeds received bytes, widened as the serial reader widens them, through the
// reply grammar and checks that the state record keeps its invariants.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "protocol/reply_grammar.h"

namespace {
void ignoreInt(int) {}
void ignoreBool(bool) {}
const ReplyHooks hooks = {ignoreInt, ignoreInt, ignoreInt, ignoreBool};
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
  parseReplyLines(state, text, hooks);
  if (!controlStateInvariantsHold(state)) std::abort();
  return 0;
}
