#include "protocol/number_text.h"

#include <climits>

namespace {
bool isBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }
bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
}  // namespace

int parseDecimal(const wchar_t* text) {
  const wchar_t* p = text;
  while (isBlank(*p)) ++p;
  bool negative = false;
  if (*p == L'+' || *p == L'-') {
    negative = *p == L'-';
    ++p;
  }
  // Accumulate as a negative number: its range holds INT_MIN.
  long long value = 0;
  bool clamped = false;
  for (; isDigit(*p); ++p) {
    if (clamped) continue;
    value = value * 10 - (*p - L'0');
    if (value < static_cast<long long>(INT_MIN)) clamped = true;
  }
  if (clamped) return negative ? INT_MIN : INT_MAX;
  if (negative) return static_cast<int>(value);
  return value < -static_cast<long long>(INT_MAX) ? INT_MAX : static_cast<int>(-value);
}

void parseDottedQuad(const wchar_t* text, int out[4]) {
  const wchar_t* rest = text;
  for (int octet = 0; octet < 3; ++octet) {
    // parseDecimal stops at the ".", so the text up to it converts alone.
    out[octet] = parseDecimal(rest);
    const wchar_t* dot = rest;
    while (*dot != 0 && *dot != L'.') ++dot;
    if (*dot == L'.') rest = dot + 1;
  }
  out[3] = parseDecimal(rest);
}
