#pragma once
// The rig's pair whose cable can be pulled (unplugPortName/unplugPeerName).

// Asks the rig to pull that pair's cable and put it back (socat ended and
// started again), pumping this thread's messages meanwhile; true once the
// pair is back. False at once when no session is running.
bool pullUnplugCable(double timeoutMs = 10000);
