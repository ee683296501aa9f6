#pragma once
// The largest record file the tester's record numbers can produce, for the benchmarks.

#include <string>

namespace leeb::bench {

constexpr int FullRecordCount = 61439;

// Writes FullRecordCount records of 32 readings (HL and HRC alternating) to `path`, line by
// line so that making the file does not raise the peak memory measured. Exits on failure.
void WriteFullRecordFile(const std::string& path);

}  // namespace leeb::bench
