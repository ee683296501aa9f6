// upload: every record from the tester, or from the simulated tester, into a record file,
// byte for byte the file the window writes when it saves after an upload. An upload that stops
// early (time-out, unplug, a reply the protocol does not allow) still writes the records it
// completed and exits with ExitIncomplete, so that a script can tell it from a whole one.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "CliSupport.h"
#include "Commands.h"
#include "FolderAccess.h"
#include "HeadlessUpload.h"
#include "LocaleDecimalSeparator.h"
#include "ManualGuiDispatcher.h"
#include "SimulatedHidBus.h"
#include "SystemHidPlatform.h"
#include "HidDeviceController.h"
#include "TesterSimulator.h"
#include "UploadInterruption.h"
#include "UploadProgress.h"

namespace leeb::cli {

namespace {

namespace fs = std::filesystem;

// Checked before the upload, so that the records are not read in only to be lost because
// the folder is missing or read-only.
void CheckWritableFolder(const std::string& path) {
    // Names are UTF-8 on every system; a char8_t string says so to std::filesystem.
    fs::path folder = fs::path(std::u8string(path.begin(), path.end())).parent_path();
    if (folder.empty())
        folder = ".";
    const std::u8string name = folder.u8string();
    const std::string shown(name.begin(), name.end());
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        throw CliFailure("无法写入文件，文件夹不存在：" + shown + "。(Cannot write " + path +
                         ": the folder does not exist.)");
    }
    if (!FolderTakesNewFiles(folder)) {
        throw CliFailure("无法写入文件，没有写文件夹的权限：" + shown + "。(Cannot write " + path +
                         ": the folder is not writable.)");
    }
}

SimulatorRecordSet SimulatedRecords(const std::string& file) {
    if (file.empty())
        return SampleSimulatorRecords();
    try {
        return LoadSimulatorRecords(file);
    } catch (const SimulatorRecordsError& failure) {
        throw CliFailure("无法读取模拟硬度计的记录。(" + std::string(failure.what()) + ")");
    }
}

HeadlessUploadResult Upload(const std::shared_ptr<HidPlatform>& platform, char decimalSeparator) {
    UploadProgress progress(stderr, ::isatty(STDERR_FILENO) == 1);
    HeadlessUploadOptions options;
    options.DecimalSeparator = decimalSeparator;
    options.Progress = [&progress](const std::string& text) { progress.Show(text); };
    auto dispatcher = std::make_shared<ManualGuiDispatcher>();
    HidDeviceController controller(platform, dispatcher);
    try {
        return HeadlessUpload(controller, *dispatcher, options);
    } catch (const HeadlessUploadError& failure) {
        throw CliFailure(failure.what());
    }
}

}  // namespace

int RunUpload(const CommandArguments& arguments) {
    // As the window's save: only the file's own name decides, a dot in a folder name is no
    // extension.
    const std::string path = OutputFilePath(*arguments.Output, ".txt");
    CheckWritableFolder(path);
    const char decimalSeparator = DecimalSeparator();

    HeadlessUploadResult result;
    if (arguments.Simulate) {
        auto bus = std::make_shared<SimulatedHidBus>();
        // Outlives the controller made in Upload: the controller's devices are gone before the
        // simulator unplugs itself.
        TesterSimulator tester(SimulatedRecords(arguments.SimulateFile));
        tester.PlugInto(bus);
        result = Upload(bus, decimalSeparator);
    } else {
        result = Upload(SystemHidPlatform(), decimalSeparator);
    }

    const int read = result.RecordsRead();
    const std::string count = std::to_string(read);
    if (result.Interrupted()) {
        const std::string reason = InterruptionReason(result);
        if (read == 0) {
            throw CliFailure(reason +
                             " 没有读入任何记录，未写入文件。(No record was read; no file "
                             "was written.)");
        }
        const std::string named = std::to_string(result.RecordsNamed);
        try {
            WriteRecordFile(path, result.Lines);
        } catch (const RecordFileError& failure) {
            throw CliFailure(
                reason + " 无法写入已读入的 " + count + " 条记录。(" + count + " of " + named +
                " records were read but could not be written: " + failure.what() + ".)");
        }
        const std::string incomplete = "leebdesk-cli: " + reason + "\n上传不完整：共 " + named +
                                       " 条记录，已将读入的 " + count + " 条写入 " + path +
                                       "。(Upload incomplete: " + count + " of " + named +
                                       " records written to " + path + ".)\n";
        std::fputs(incomplete.c_str(), stderr);
        return ExitIncomplete;
    }

    // A tester without records would otherwise replace an existing file with a bare header.
    if (read == 0) {
        throw CliFailure(
            "里氏硬度计中没有数据，未写入文件。(The tester holds no records; no file "
            "was written.)");
    }
    try {
        WriteRecordFile(path, result.Lines);
    } catch (const RecordFileError& failure) {
        throw CliFailure("无法写入记录文件。(" + std::string(failure.what()) + ".)");
    }
    const std::string done = "已上传 " + count + " 条记录，写入 " + path + "。(" + count +
                             " records uploaded into " + path + ".)\n";
    std::fputs(done.c_str(), stderr);
    return ExitSuccess;
}

}  // namespace leeb::cli
