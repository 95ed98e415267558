#pragma once
#include <cstdint>

// Nanoseconds per read of what the product's download loop does beyond a
// bare read loop: the abort and pause checks, clearing the 4096-byte buffer,
// scaling the counts and the progress report through a real worker and its
// owner link into a ProgressSink. No network: the reads and writes
// themselves are the same in both loops, and so is the benchmark's own
// read-time mark, left out here. The fastest of several passes, since other
// processes can only add time.
double MeasureLoopExtrasNanoseconds(uint32_t readsPerPass, int passes);
