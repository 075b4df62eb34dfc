// Feeds edit texts, as typed or pasted, through the Network Settings row checks:
// a row accepts only texts of decimal digits alone, reads them as their value,
// and whatever it accepts fits the set commands' fixed transmit counts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "protocol/network_rows.h"

namespace {
constexpr std::size_t kFieldUnits = 64;
constexpr int kFields = 5;   // four octets and the port

// The value a plain run of digits must read as, saturating like the program.
bool plainDigitsValue(const wchar_t* text, long long* value) {
  if (text[0] == 0) return false;
  long long v = 0;
  for (const wchar_t* p = text; *p != 0; ++p) {
    if (*p < L'0' || *p > L'9') return false;
    if (v < 10000000000LL) v = v * 10 + (*p - L'0');
  }
  *value = v;
  return true;
}

void checkOctet(const wchar_t* text, int value, bool rowValid) {
  if (!rowValid) return;
  long long expected = 0;
  if (!plainDigitsValue(text, &expected) || expected != value) std::abort();
  if (value < 0 || value > 255) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Fields are separated by '|', each byte widened to one unit as Latin-1.
  wchar_t fields[kFields][kFieldUnits] = {};
  int field = 0;
  std::size_t length = 0;
  for (std::size_t i = 0; i < size && field < kFields; ++i) {
    if (data[i] == '|') {
      ++field;
      length = 0;
    } else if (length + 1 < kFieldUnits) {
      fields[field][length++] = static_cast<wchar_t>(data[i]);
    }
  }
  const wchar_t* octets[4] = {fields[0], fields[1], fields[2], fields[3]};
  int values[4] = {};
  bool rowValid = validateAddressRow(octets, values);
  for (int i = 0; i < 4; ++i) checkOctet(octets[i], values[i], rowValid);
  if (rowValid) {
    // "<SUBR[%d-%d-%d-%d]>" has 25 units of room, text and terminator.
    char text[64];
    int n = std::snprintf(text, sizeof text, "<SUBR[%d-%d-%d-%d]>", values[0], values[1], values[2], values[3]);
    if (n < 0 || n > 24) std::abort();
  }
  int port = 0;
  if (validatePortRow(fields[4], &port)) {
    long long expected = 0;
    if (port < 0 || port > 65535) std::abort();
    if (!plainDigitsValue(fields[4], &expected) || expected != port) std::abort();
    char text[32];
    int n = std::snprintf(text, sizeof text, "<SPORT[%d]>", port);
    if (n < 0 || n > 14) std::abort();
  }
  return 0;
}
