// FSOUND_GetStats: counters of the stream being played, for the benchmark and tests; the program
// itself never calls it.
#pragma once

// Across a device's loss and reopening, decodedSeconds counts what was skipped (decoded and dropped) too, and
// playedSeconds carries over what was played before the loss, without the time the device was away.
struct SoundStats {
    unsigned underruns;       // times the device ran out of queued audio while the stream had more
    double feederCpuSeconds;  // CPU time used by the feeder thread so far
    double decodedSeconds;    // seconds of source audio decoded so far
    double playedSeconds;     // seconds the device reports having played
    bool playing;             // a stream has been started and not yet closed
};

// The counters of the current stream, or of the last one until the next FSOUND_Init.
SoundStats FSOUND_GetStats();
