#pragma once
// The largest record file the tester's record numbers can produce, for the benchmarks.

#include <cstddef>
#include <string>

namespace leeb::bench {

constexpr int FullRecordCount = 61439;

// Writes FullRecordCount records of 32 readings (HL and HRC alternating) to `path`, line by
// line so that making the file does not raise the peak memory measured. Exits on failure.
void WriteFullRecordFile(const std::string& path);

// The same records, repeated until the file holds at least `bytes` (a file of many testers'
// uploads put together, as a lab's archive of record files may be).
void WriteLargeRecordFile(const std::string& path, std::size_t bytes);

}  // namespace leeb::bench
