#pragma once
// Line noise for the garbage fault: the kinds of bytes a confused or broken
// unit could send, to see that the panel survives them.
#include <cstddef>
#include <random>
#include <string>

// Returns about `size` bytes (never fewer, possibly one piece more) made of
// random pieces: raw bytes including zeros and 0x80..0xFF, lone ">" lines,
// CR without LF, replies with huge or malformed numbers, over-long lines.
std::string makeGarbage(std::mt19937& random, size_t size);
