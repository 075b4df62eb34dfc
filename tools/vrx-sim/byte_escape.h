#pragma once
// Shows received and sent bytes on one transcript line, unambiguously.
#include <string>

// Printable ASCII stays as it is, except the backslash, which becomes "\\".
// A zero byte becomes "\0" (always exactly one byte, even before a digit), CR
// "\r", LF "\n", and every other byte "\xHH" with two upper-case hex digits.
std::string escapeBytes(const std::string& bytes);
