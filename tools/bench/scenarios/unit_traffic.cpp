#include "tools/bench/scenarios/unit_traffic.h"

#include <cstdio>

namespace {
const char* const kVideoNames[] = {"CV", "YPbPr", "VGA1", "VGA2", "HDMI1", "HDMI2", "HDMI3", "HDBaseT",
                                   "DisplayPort"};

// %d is the line's number.
const char* const kReplyForms[] = {
    ">SOURCE %s\r\n",          ">Video Input: %s\r\n",       "AUDIO %d\r\n",
    ">Audio Input: Audio %d\r\n", ">HDMI AUDIO MUTE OFF\r\n", ">Analog AUDIO MUTE ON\r\n",
    ">MUTE OFF\r\n",           ">OUTPUT 1920x1080_60\r\n",   ">SIPR: 192.168.%d.20\r\n",
    ">SPORT: %d\r\n",          ">Bell Status: OFF\r\n",      ">LPMCU SW Versions: V1.%d\r\n",
    "unit line %d of the stream\r\n",
};
constexpr int kFormCount = sizeof kReplyForms / sizeof kReplyForms[0];

std::string formatLine(int n) {
  char line[96];
  const char* form = kReplyForms[n % kFormCount];
  if (n % kFormCount < 2) {
    std::snprintf(line, sizeof line, form, kVideoNames[(n / kFormCount) % 9]);
  } else {
    std::snprintf(line, sizeof line, form, (n % kFormCount == 2 || n % kFormCount == 3) ? 1 + n % 9 : n);
  }
  return line;
}

const char* const kHostileLines[] = {
    ">\r\n", ">>>>\r\n", "\r\n", "\r", "\n", ">SIPR: 99999999999.-5.4294967296.1\r\n",
    ">SPORT: -2147483649\r\n", ">Brightness Value: 18446744073709551616\r\n",
    ">Contrast Value: -0\r\n", ">SOURCE \r\n", ">AUDIO 99\r\n", "HDMI AUDIO MUTE\r\n", "Bell\r\n",
    ">LPMCU SW Versions:\r\n", ">FLMCU SW Versions: V123456789012345678901234567890\r\n",
    ">Output Resolution: 99\r\n", ">Audio Input:\r\n", ":::\r\n", ">GAR: ....\r\n",
};
constexpr int kHostileLineCount = sizeof kHostileLines / sizeof kHostileLines[0];
}  // namespace

std::string replyStream(std::size_t count) {
  std::string stream;
  stream.reserve(count + 96);
  for (int n = 0; stream.size() < count; ++n) stream += formatLine(n);
  stream.resize(count);
  return stream;
}

std::string videoReplyLine(int i) { return std::string(">SOURCE ") + kVideoNames[i % 9] + "\r\n"; }

std::string hostileBytes(std::mt19937& random, std::size_t count) {
  std::string noise;
  while (noise.size() < count) {
    switch (random() % 4) {
      case 0:
        for (int i = 0, n = 1 + static_cast<int>(random() % 64); i < n; ++i) noise += static_cast<char>(random() & 0xFF);
        break;
      case 1:
        noise += kHostileLines[random() % kHostileLineCount];
        break;
      case 2:
        noise.append(1000 + random() % 2000, static_cast<char>('A' + random() % 26));
        break;
      default:
        noise += formatLine(static_cast<int>(random() % 1000));
        break;
    }
  }
  return noise;
}
