#include "protocol/number_text.h"

#include <climits>

namespace {
bool isBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }
bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

const wchar_t* endOf(const wchar_t* text) {
  while (*text != 0) ++text;
  return text;
}
}  // namespace

int parseDecimal(const wchar_t* begin, const wchar_t* end) {
  const wchar_t* p = begin;
  while (p != end && isBlank(*p)) ++p;
  bool negative = false;
  if (p != end && (*p == L'+' || *p == L'-')) {
    negative = *p == L'-';
    ++p;
  }
  // Accumulate as a negative number: its range holds INT_MIN.
  long long value = 0;
  bool clamped = false;
  for (; p != end && isDigit(*p); ++p) {
    if (clamped) continue;
    value = value * 10 - (*p - L'0');
    if (value < static_cast<long long>(INT_MIN)) clamped = true;
  }
  if (clamped) return negative ? INT_MIN : INT_MAX;
  if (negative) return static_cast<int>(value);
  return value < -static_cast<long long>(INT_MAX) ? INT_MAX : static_cast<int>(-value);
}

int parseDecimal(const wchar_t* text) { return parseDecimal(text, endOf(text)); }

void parseDottedQuad(const wchar_t* begin, const wchar_t* end, int out[4]) {
  const wchar_t* rest = begin;
  for (int octet = 0; octet < 3; ++octet) {
    // parseDecimal stops at the ".", so the text up to it converts alone.
    out[octet] = parseDecimal(rest, end);
    const wchar_t* dot = rest;
    while (dot != end && *dot != L'.') ++dot;
    if (dot != end) rest = dot + 1;
  }
  out[3] = parseDecimal(rest, end);
}

void parseDottedQuad(const wchar_t* text, int out[4]) { parseDottedQuad(text, endOf(text), out); }
