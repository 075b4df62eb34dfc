#pragma once
// Shows received and sent bytes on one transcript line, unambiguously, and
// reads bytes given the same way on the command line.
#include <string>

// Printable ASCII stays as it is, except the backslash, which becomes "\\".
// A zero byte becomes "\0" (always exactly one byte, even before a digit), CR
// "\r", LF "\n", and every other byte "\xHH" with two upper-case hex digits.
std::string escapeBytes(const std::string& bytes);

// The reverse: takes what escapeBytes writes (hex digits in either case) and
// any other byte as it is. Any other escape, or "\x" without two hex digits,
// is refused: false, and error says where.
bool unescapeBytes(const std::string& text, std::string& bytes, std::string& error);
