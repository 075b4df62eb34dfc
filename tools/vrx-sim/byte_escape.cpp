#include "byte_escape.h"

std::string escapeBytes(const std::string& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c == '\\') out += "\\\\";
    else if (c == 0) out += "\\0";
    else if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c >= 0x20 && c < 0x7F) out += ch;
    else {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}
