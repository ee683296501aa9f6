// `leebdesk-cli upload --simulate` of 1,000 and 4,000 records with the archive on (the default)
// and with --no-archive, run alternately so that a busy machine slows both alike: the median
// of each and their ratio. Each archived run starts from an empty archive of its own.
//
// Usage: upload_archive_bench [ROUNDS]   (default 5)

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ChildMeasurement.h"

namespace {

using leeb::bench::Measurement;

const std::string Folder =
    (std::filesystem::temp_directory_path() / ("leebdesk-upload-bench-" + std::to_string(::getpid())))
        .string();

// A simulated tester holding `count` records of 10 HL readings.
std::string TesterFile(int count) {
    const std::string path = Folder + "/tester-" + std::to_string(count) + ".json";
    std::ofstream out(path);
    out << R"({"records": [)";
    for (int i = 0; i < count; ++i) {
        out << (i == 0 ? "" : ",") << R"({"count": 10, "readings": [)";
        for (int k = 0; k < 10; ++k)
            out << (k == 0 ? "" : ",") << 300 + (i * 7 + k) % 500;
        out << R"(], "settings": 0, "date": 35464})";
    }
    out << "]}";
    return path;
}

Measurement Upload(const std::string& tester, bool archive) {
    const std::string data = Folder + "/data";
    std::filesystem::remove_all(data);
    return leeb::bench::InChild([&] {
        if (std::freopen("/dev/null", "w", stdout) == nullptr ||
            std::freopen("/dev/null", "w", stderr) == nullptr)
            return 126;
        ::setenv("LC_ALL", "C", 1);
        ::setenv("XDG_DATA_HOME", data.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (Folder + "/config").c_str(), 1);
        ::unsetenv("LEEBDESK_ARCHIVE");
        const std::string simulate = "--simulate=" + tester;
        const std::string output = Folder + "/out.txt";
        std::vector<const char*> argv = {LEEBDESK_CLI_PATH, "upload", simulate.c_str(), "-o",
                                         output.c_str()};
        if (!archive)
            argv.push_back("--no-archive");
        argv.push_back(nullptr);
        ::execv(LEEBDESK_CLI_PATH, const_cast<char* const*>(argv.data()));
        return 127;
    });
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::filesystem::create_directories(Folder);
    int status = 0;
    for (int count : {1000, 4000}) {
        const std::string tester = TesterFile(count);
        std::vector<double> on, off;
        for (int round = 0; round < rounds; ++round) {
            const Measurement archived = Upload(tester, true);
            const Measurement plain = Upload(tester, false);
            if (archived.Status != 0 || plain.Status != 0) {
                std::fprintf(stderr, "upload_archive_bench: an upload failed (%d, %d)\n",
                             archived.Status, plain.Status);
                status = 1;
            }
            on.push_back(archived.Seconds);
            off.push_back(plain.Seconds);
        }
        std::printf("upload --simulate of %d records: archive on %.3f s, --no-archive %.3f s, "
                    "ratio %.2f (medians of %d)\n",
                    count, Median(on), Median(off), Median(on) / Median(off), rounds);
    }
    std::filesystem::remove_all(Folder);
    return status;
}
