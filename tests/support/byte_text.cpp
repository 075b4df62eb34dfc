#include "tests/support/byte_text.h"

#include <cstdio>

std::string printable(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
  return out;
}

std::wstring wideBytes(const std::string& bytes) {
  std::wstring text;
  for (unsigned char byte : bytes) text += static_cast<wchar_t>(byte);
  return text;
}

std::string onWire(const std::string& text, int n) {
  std::string bytes = text;
  bytes.resize(static_cast<std::size_t>(n - 1), '\0');
  return bytes;
}
