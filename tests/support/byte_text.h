#pragma once
// Bytes of the line shown as text: in failure messages, and as the reader
// widens them.
#include <string>

// Printable characters as they are, every other byte as \xNN.
std::string printable(const std::string& bytes);

// Each byte as the wide unit of the same value.
std::wstring wideBytes(const std::string& bytes);

// What the unit receives on the serial link for a command text with transmit
// count n: the text and zero bytes up to n - 1 bytes.
std::string onWire(const std::string& text, int n);
