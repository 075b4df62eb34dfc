#include "tools/harness/stamped_peer_reader.h"

#include "tools/harness/timing.h"
#include "tools/harness/unit_peer.h"

namespace {
constexpr double kReadSliceMs = 20;
}  // namespace

StampedPeerReader::StampedPeerReader(UnitPeer& peer) : peer_(peer) {
  thread_ = std::thread([this] {
    while (!stop_) {
      std::string chunk = peer_.readAtLeast(1, kReadSliceMs);
      if (!chunk.empty()) chunks_.push_back({nowMs(), chunk});
    }
  });
}

StampedPeerReader::~StampedPeerReader() { finish(); }

std::vector<StampedChunk> StampedPeerReader::finish() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  return chunks_;
}
