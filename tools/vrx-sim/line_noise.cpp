#include "line_noise.h"

#include "garbage.h"
#include "sim.h"

namespace {

constexpr size_t kMaxNoiseBacklog = 4096;
constexpr Ms kNoiseTick{50};

}  // namespace

void makeNoise(Sim& sim) {
  LineNoise& noise = sim.noise;
  Clock::time_point now = Clock::now();
  if (!sim.options.garbage || now < noise.nextTick) return;
  noise.nextTick = now + kNoiseTick;
  if (sim.hangup.down || !sim.lineOpen || sim.power.off) return;
  noise.credit += sim.options.garbageRate * (kNoiseTick.count() / 1000.0);
  // Credit may go negative after a long piece; the average rate still holds.
  if (noise.credit < 1 || sim.out.noise.size() > kMaxNoiseBacklog) return;
  std::string piece = makeGarbage(noise.random, size_t(noise.credit));
  noise.credit -= double(piece.size());
  sim.out.noise += piece;
}
