#pragma once
// Archives of a million records for the benchmarks: synthetic records spread over ten years
// and ten materials, imported in batches.

#include <cstdint>
#include <random>
#include <vector>

#include "Archive.h"

namespace leeb::bench {

// `count` records of 10 HL readings, materials 0..9, dates 2016..2025 (days 1..28).
std::vector<ArchiveInput> SyntheticRecords(int count, std::mt19937& random);

// Imports synthetic records until the archive holds `total`.
void FillArchive(Archive& archive, int64_t total, std::mt19937& random);

}  // namespace leeb::bench
