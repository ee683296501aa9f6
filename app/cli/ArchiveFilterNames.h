#pragma once
// The names --material, --scale and --device take, turned into the text the archive keeps: the
// window's Chinese material names or its English ones, scales and devices in any case
// ("hrc" is "HRC"). A name that is none of them is a usage error naming the valid ones: a
// filter that quietly matches nothing looks like an archive without such records.

#include <string>

namespace leeb::cli {

// Each throws UsageError for a value that names nothing the tester can record. "?" and a
// number ("?12", the name the window gives a code its tables lack) is taken as it is.
std::string ArchiveMaterialFilter(const std::string& value);
std::string ArchiveScaleFilter(const std::string& value);
std::string ArchiveDeviceFilter(const std::string& value);

}  // namespace leeb::cli
