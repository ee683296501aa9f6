// Opening record files, and `leebdesk-cli show --json`, on a full tester's file and on a bad
// one: peak resident memory and wall time, each measured in a child process of its own so
// that one measurement's memory does not hide the next.
//
//   full file: 61,439 records of 32 readings (about 13 MB), the largest the record numbers
//              allow; opened as the window does (the whole file read and checked) and shown
//              by `show --json`.
//   bad file:  the header and 200 MB of empty lines; the read must fail on line 2 at once.
//
// Usage: record_file_open_bench [leebdesk-cli]   (default: the one built with this program)

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ChildMeasurement.h"
#include "FullRecordFile.h"
#include "RecordFile.h"

namespace {

constexpr int RecordCount = leeb::bench::FullRecordCount;
constexpr std::size_t BadFileBlankBytes = 200u * 1024 * 1024;

std::string TempPath(const char* name) {
    return "/tmp/leebdesk-open-bench-" + std::to_string(::getpid()) + "-" + name;
}

std::string MakeFullFile() {
    const std::string path = TempPath("full.txt");
    leeb::bench::WriteFullRecordFile(path);
    return path;
}

std::string MakeBadFile() {
    const std::string path = TempPath("blank.txt");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::fprintf(file, "%s\r\n", std::string(leeb::RecordFileHeader).c_str());
    const std::string blanks(1 << 20, '\n');
    for (std::size_t written = 0; written < BadFileBlankBytes; written += blanks.size()) {
        std::fwrite(blanks.data(), 1, blanks.size(), file);
    }
    std::fclose(file);
    return path;
}

using leeb::bench::InChild;
using leeb::bench::Measurement;

int Open(const std::string& path) {
    try {
        const leeb::RecordLines lines = leeb::ReadCheckedRecordFile(path, '.');
        return lines.size() == RecordCount + 1 ? 0 : 2;
    } catch (const leeb::RecordFileError& error) {
        return error.LineNumber() == 2 ? 3 : 1;  // 3: failed on line 2, as it should
    }
}

int ShowJson(const std::string& cli, const std::string& path) {
    if (std::freopen("/dev/null", "w", stdout) == nullptr ||
        std::freopen("/dev/null", "w", stderr) == nullptr) {
        return 1;
    }
    ::setenv("LC_ALL", "C", 1);
    ::execl(cli.c_str(), cli.c_str(), "show", path.c_str(), "--json", static_cast<char*>(nullptr));
    return 127;
}

void Print(const char* what, const Measurement& m) {
    std::printf("%-58s peak %7.1f MiB  wall %7.3f s  cpu %7.3f s  status %d\n", what, m.PeakMiB,
                m.Seconds, m.CpuSeconds, m.Status);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cli = argc > 1 ? argv[1] : LEEBDESK_CLI_PATH;
    const std::string full = MakeFullFile();
    const std::string bad = MakeBadFile();

    Print("baseline (a child that does nothing)", InChild([] { return 0; }));
    Print("open, 61,439 records (read and check whole)", InChild([&] { return Open(full); }));
    Print("open, header + 200 MB of empty lines (fails, 3)", InChild([&] { return Open(bad); }));
    Print("leebdesk-cli show --json, 61,439 records", InChild([&] { return ShowJson(cli, full); }));
    Print("leebdesk-cli show --json, header + 200 MB empty (fails, 1)",
          InChild([&] { return ShowJson(cli, bad); }));

    std::remove(full.c_str());
    std::remove(bad.c_str());
    return 0;
}
