#include "protocol/bounded_text.h"

#include <cwchar>

namespace {
// Formatting goes through a scratch buffer large enough for any text of the
// program, so that the cut below is ours and does not depend on what a C
// runtime leaves behind on overflow.
constexpr std::size_t kScratchUnits = 8192;
}  // namespace

std::size_t boundedLength(const wchar_t* text, std::size_t limit) {
  std::size_t length = 0;
  while (length < limit && text[length] != 0) ++length;
  return length;
}

bool copyBounded(wchar_t* out, std::size_t size, const wchar_t* text) {
  if (size == 0) return false;
  std::size_t length = boundedLength(text, size);
  bool cut = length == size;
  if (cut) length = size - 1;
  for (std::size_t i = 0; i < length; ++i) out[i] = text[i];
  out[length] = 0;
  return !cut;
}

bool vformatBounded(wchar_t* out, std::size_t size, const wchar_t* format, va_list args) {
  if (size == 0) return false;
  // On the stack: formatting a command or a pane line allocates nothing, so
  // it cannot fail for want of memory.
  wchar_t scratch[kScratchUnits] = {};
  int written = std::vswprintf(scratch, kScratchUnits, format, args);
  if (written < 0) {
    // Longer than the scratch buffer: keep what fits of it.
    scratch[kScratchUnits - 1] = 0;
  }
  bool fits = copyBounded(out, size, scratch);
  return fits && written >= 0;
}

bool formatBounded(wchar_t* out, std::size_t size, const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  bool fits = vformatBounded(out, size, format, args);
  va_end(args);
  return fits;
}
