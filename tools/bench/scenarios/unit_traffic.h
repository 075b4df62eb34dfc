#pragma once
// Bytes on the line that the benchmarks play as the unit: well-formed reply
// lines in a fixed cycle, and hostile line noise.
#include <random>
#include <string>

// count bytes of reply lines, the unit's real forms (word and keyed lines,
// with and without the ">" prompt), numbered so that no two stretches agree.
// Contains no zero byte and never the pane's "Rx>" prefix.
std::string replyStream(std::size_t count);

// One reply line that moves the video input (so the frames repaint): the
// line for entry i % 9 of the unit's video input names.
std::string videoReplyLine(int i);

// About count bytes of noise: raw bytes (zeros and 0x80..0xFF included),
// lone ">" lines, CR without LF, known keys with huge or broken numbers,
// lines longer than a burst.
std::string hostileBytes(std::mt19937& random, std::size_t count);
