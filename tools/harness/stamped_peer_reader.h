#pragma once
// Reads the unit's end of the line on a thread of its own and stamps each
// chunk with the time it came, to see the pauses between commands.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

class UnitPeer;

// One chunk the peer read and when (nowMs).
struct StampedChunk {
  double atMs;
  std::string bytes;
};

class StampedPeerReader {
 public:
  explicit StampedPeerReader(UnitPeer& peer);
  ~StampedPeerReader();
  StampedPeerReader(const StampedPeerReader&) = delete;
  StampedPeerReader& operator=(const StampedPeerReader&) = delete;
  // Stops reading and returns the chunks.
  std::vector<StampedChunk> finish();

 private:
  UnitPeer& peer_;
  std::vector<StampedChunk> chunks_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
