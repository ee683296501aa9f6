// upload: every record from the tester, or from the simulated tester, into a record file,
// byte for byte the file the window writes when it saves after an upload (a name ending in
// ".csv": the CSV table the window's save writes for such a name). An upload that stops
// early (time-out, unplug, a reply the protocol does not allow) still writes the records it
// completed and exits with ExitIncomplete, so that a script can tell it from a whole one. An
// upload whose records did not all reach an archive (nor the local file that keeps them for a
// server) exits with ExitNotArchived: the tester's memory must not be cleared on its word.

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "CliLanguage.h"
#include "CliSupport.h"
#include "Commands.h"
#include "CsvText.h"
#include "FolderAccess.h"
#include "HeadlessUpload.h"
#include "HidDeviceController.h"
#include "LocaleDecimalSeparator.h"
#include "ManualGuiDispatcher.h"
#include "RecordCsv.h"
#include "SimulatedHidBus.h"
#include "SystemHidPlatform.h"
#include "TesterSimulator.h"
#include "UploadArchive.h"
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

bool NamesCsv(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) {
        return false;
    }
    std::string extension = name.substr(dot + 1);
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return extension == "csv";
}

// As the window's save: a name ending in ".csv" gets the CSV table, numbered as the tester
// numbers the records; any other the record file.
void WriteUploaded(const std::string& path, const HeadlessUploadResult& result,
                   const CommandArguments& arguments, char decimalSeparator) {
    if (!NamesCsv(path)) {
        WriteRecordFile(path, result.Lines);
        return;
    }
    std::optional<CliTranslation> translation;
    if (arguments.Language)
        translation.emplace(*arguments.Language);
    RecordCsvOptions options;
    options.DecimalSeparator = decimalSeparator;
    options.RecordNumbers = result.RecordNumbers;
    options.Texts = TranslatedCsvTexts();
    try {
        WriteRecordCsv(path, result.Lines, options);
    } catch (const ConversionError& failure) {
        // The upload formats every line itself; one that does not read back is a fault here.
        throw RecordFileError(failure.what(), FileProblem::CannotWrite, path, 0);
    }
}

HeadlessUploadResult Upload(const std::shared_ptr<HidPlatform>& platform, char decimalSeparator,
                            bool verified, UploadArchive& archive) {
    UploadProgress progress(stderr, ::isatty(STDERR_FILENO) == 1);
    HeadlessUploadOptions options;
    options.DecimalSeparator = decimalSeparator;
    options.Verified = verified;
    options.Progress = [&progress](const std::string& text) { progress.Show(text); };
    // The line as the record file holds it: the upload formats it the same way.
    options.RecordCompleted = [&archive,
                               decimalSeparator](const UploadView::AppendedRecord& record) {
        archive.Add(FormatRecordLine(record.Raw, decimalSeparator), record.Number,
                    record.Damaged ? record.StoredImpactCount : -1);
    };
    auto dispatcher = std::make_shared<ManualGuiDispatcher>();
    HidDeviceController controller(platform, dispatcher);
    try {
        return HeadlessUpload(controller, *dispatcher, options);
    } catch (const HeadlessUploadError& failure) {
        throw CliFailure(failure.what());
    }
}

// The upload's own lines and its record file; the exit status they call for.
int Finish(const HeadlessUploadResult& result, const std::string& path,
           const CommandArguments& arguments, char decimalSeparator) {
    // Kept, but the user must know which records the tester holds damaged.
    for (const DamagedRecord& damaged : result.Damaged) {
        const std::string record = std::to_string(damaged.Record);
        const std::string count = std::to_string(damaged.ImpactCount);
        const std::string line = "leebdesk-cli: 记录 " + record + " 已损坏: 冲击次数 " + count +
                                 "。(Record " + record + " is damaged: impact count " + count +
                                 ".)\n";
        std::fputs(line.c_str(), stderr);
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
            WriteUploaded(path, result, arguments, decimalSeparator);
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
        WriteUploaded(path, result, arguments, decimalSeparator);
    } catch (const RecordFileError& failure) {
        throw CliFailure("无法写入记录文件。(" + std::string(failure.what()) + ".)");
    }
    const std::string done = "已上传 " + count + " 条记录，写入 " + path + "。(" + count +
                             " records uploaded into " + path + ".)\n";
    std::fputs(done.c_str(), stderr);
    return ExitSuccess;
}

}  // namespace

int RunUpload(const CommandArguments& arguments) {
    // As the window's save: only the file's own name decides, a dot in a folder name is no
    // extension.
    const std::string path = OutputFilePath(*arguments.Output, ".txt");
    CheckWritableFolder(path);
    const char decimalSeparator = DecimalSeparator();

    HeadlessUploadResult result;
    UploadArchive archive(arguments, arguments.Simulate ? "simulator" : "tester");
    if (arguments.Simulate) {
        auto bus = std::make_shared<SimulatedHidBus>();
        // Outlives the controller made in Upload: the controller's devices are gone before the
        // simulator unplugs itself.
        TesterSimulator tester(SimulatedRecords(arguments.SimulateFile));
        tester.PlugInto(bus);
        result = Upload(bus, decimalSeparator, arguments.Verify, archive);
    } else {
        result = Upload(SystemHidPlatform(), decimalSeparator, arguments.Verify, archive);
    }
    int status = ExitFailure;
    try {
        status = Finish(result, path, arguments, decimalSeparator);
    } catch (const CliFailure&) {
        // What the archive kept of the records read is said before why the command failed.
        if (result.RecordsRead() > 0)
            archive.Report();
        throw;
    }
    archive.Report();
    return archive.NotArchived() > 0 ? ExitNotArchived : status;
}

}  // namespace leeb::cli
