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

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The byte an escape at text[at] (after its backslash) stands for, and its
// length; 0 when it is none.
size_t takeEscape(const std::string& text, size_t at, char& byte) {
  if (at >= text.size()) return 0;
  switch (text[at]) {
    case '\\': byte = '\\'; return 1;
    case '0': byte = '\0'; return 1;
    case 'r': byte = '\r'; return 1;
    case 'n': byte = '\n'; return 1;
    case 'x': break;
    default: return 0;
  }
  if (at + 2 >= text.size()) return 0;
  int high = hexValue(text[at + 1]);
  int low = hexValue(text[at + 2]);
  if (high < 0 || low < 0) return 0;
  byte = static_cast<char>(high * 16 + low);
  return 3;
}

}  // namespace

bool unescapeBytes(const std::string& text, std::string& bytes, std::string& error) {
  bytes.clear();
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] != '\\') {
      bytes += text[at];
      continue;
    }
    char byte = 0;
    size_t length = takeEscape(text, at + 1, byte);
    if (!length) {
      error = "bad escape at byte " + std::to_string(at + 1) + " (known: \\\\ \\0 \\r \\n \\xHH)";
      return false;
    }
    bytes += byte;
    at += length;
  }
  return true;
}
