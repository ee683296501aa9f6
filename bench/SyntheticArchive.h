#pragma once
// Made-up archived records for the benchmarks: HL readings, device D, dates spread over ten
// years, drawn from a seeded generator so that every run fills the same archive.

#include <cstdint>
#include <random>
#include <vector>

#include "Archive.h"

namespace leeb::bench {

// `count` records of 10 readings between 300 and 799 HL, dated 2016..2025 (day 1..28), of
// material 0 .. `materials` - 1; tester numbers 1.. `count`.
std::vector<ArchiveInput> SyntheticRecords(int count, std::mt19937& random, int materials = 10);

// Imports synthetic records, 100,000 at a time, until `archive` holds `total` records.
void FillArchive(Archive& archive, int64_t total, std::mt19937& random, int materials = 10);

}  // namespace leeb::bench
