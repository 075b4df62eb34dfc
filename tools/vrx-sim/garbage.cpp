#include "garbage.h"

#include <vector>

namespace {

int pick(std::mt19937& random, int count) {
  return std::uniform_int_distribution<int>(0, count - 1)(random);
}

std::string randomBytes(std::mt19937& random, size_t count) {
  std::string out;
  for (size_t i = 0; i < count; ++i) out += static_cast<char>(pick(random, 256));
  return out;
}

std::string hugeNumber(std::mt19937& random) {
  std::string digits = pick(random, 2) ? "-" : "";
  size_t length = 10 + pick(random, 40);
  for (size_t i = 0; i < length; ++i) digits += static_cast<char>('0' + pick(random, 10));
  return digits;
}

// Keyed and word replies the panel acts on, with values it cannot expect.
std::string malformedReply(std::mt19937& random) {
  const std::string n = hugeNumber(random);
  const std::vector<std::string> replies = {
      ">SPORT: " + n,
      ">SIPR: " + n + "." + n + ".-1.x",
      ">SUBR: ....",
      ">GAR: " + n,
      ">Brightness Value: " + n,
      ">Contrast Value: " + n,
      ">LPMCU SW Versions: V" + std::string(300, '9'),
      ">FPMCU SW Versions:",
      ">Video Input: " + n,
      ">Audio Input: Audio " + n,
      ">Audio Input:",
      ">SOURCE " + n,
      ">AUDIO " + n,
      ">OUTPUT " + n + "x" + n + "@60Hz",
      ">Output Resolution: " + std::string(2000, 'x'),
      ">HDMI AUDIO MUTE",
      ">Bell Status: " + n,
      ">:::::",
  };
  return replies[pick(random, static_cast<int>(replies.size()))];
}

std::string garbagePiece(std::mt19937& random) {
  switch (pick(random, 7)) {
    case 0: return randomBytes(random, 1 + pick(random, 32));
    case 1: return ">\r\n";
    case 2: return ">>>>\r";
    case 3: return malformedReply(random) + "\r\n";
    case 4: return malformedReply(random) + "\r";
    case 5: return std::string(1100 + pick(random, 1000), 'A') + "\r\n";  // longer than a read burst
    default: return "\r\n\r\n\n\r";
  }
}

}  // namespace

std::string makeGarbage(std::mt19937& random, size_t size) {
  std::string out;
  while (out.size() < size) out += garbagePiece(random);
  return out;
}
