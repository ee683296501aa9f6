// upload: every record from the tester, or from the simulated tester, into a record file,
// byte for byte the file the window writes when it saves after an upload.

#include <unistd.h>

#include <QCoreApplication>
#include <optional>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "CliLanguage.h"
#include "CliSupport.h"
#include "Commands.h"
#include "ErrorText.h"
#include "HeadlessUpload.h"
#include "LocaleDecimalSeparator.h"
#include "ManualGuiDispatcher.h"
#include "SimulatedHidBus.h"
#include "SystemHidPlatform.h"
#include "THidDeviceController.h"
#include "TesterSimulator.h"

namespace leeb::cli {

namespace {

namespace fs = std::filesystem;

// As the window's save: only the file's own name decides, a dot in a folder name is no
// extension.
std::string RecordFilePath(const std::string& output) {
    const fs::path path(output);
    if (!path.has_filename()) {
        throw CliFailure(Say("输出必须是一个文件名：" + output + "。",
                             "The output must name a file: " + output + "."));
    }
    if (path.filename().string().find('.') == std::string::npos) {
        return output + ".txt";
    }
    return output;
}

// Checked before the upload, so that the records are not read in only to be lost because
// the folder is missing or read-only.
void CheckWritableFolder(const std::string& path) {
    fs::path folder = fs::path(path).parent_path();
    if (folder.empty())
        folder = ".";
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        throw CliFailure(Say("无法写入文件，文件夹不存在：" + folder.string() + "。",
                             "Cannot write " + path + ": the folder does not exist."));
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        throw CliFailure(Say("无法写入文件，没有写文件夹的权限：" + folder.string() + "。",
                             "Cannot write " + path + ": the folder is not writable."));
    }
}

// "r/Last" on stderr: redrawn in place on a terminal, one line each into a file or pipe.
class ProgressLine {
  public:
    ProgressLine() : terminal_(::isatty(STDERR_FILENO) == 1) {}
    ~ProgressLine() {
        if (terminal_ && shown_)
            std::fputc('\n', stderr);
    }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Show(const std::string& text) {
        std::fprintf(stderr, terminal_ ? "\r%s" : "%s\n", text.c_str());
        std::fflush(stderr);
        shown_ = true;
    }

  private:
    bool terminal_;
    bool shown_ = false;
};

SimulatorRecordSet SimulatedRecords(const std::string& file) {
    if (file.empty())
        return SampleSimulatorRecords();
    try {
        return LoadSimulatorRecords(file);
    } catch (const SimulatorRecordsError& failure) {
        throw CliFailure(
            Say("无法读取模拟硬度计的记录：" + std::string(failure.what()) + "。",
                "Cannot read the simulated tester's records: " + std::string(failure.what())));
    }
}

std::string UploadFailureText(const HeadlessUploadError& failure) {
    if (!Language())
        return failure.what();  // both languages, as the upload words it
    using Reason = HeadlessUploadError::Reason;
    std::string text;
    switch (failure.Why()) {
        case Reason::NotConnected:
            text = Say("未连接里氏硬度计。", "No hardness tester is connected.");
            break;
        case Reason::AccessDenied:
            text = Say(
                "无权访问里氏硬度计：请安装 udev 规则 70-leebdesk-tester.rules，然后拔下并重新插入"
                "硬度计。",
                "Access to the hardness tester is denied: install the udev rule "
                "70-leebdesk-tester.rules, then unplug the tester and plug it in again.");
            break;
        case Reason::NoReply:
            text = Say("里氏硬度计无应答。", "The hardness tester did not reply.");
            break;
        case Reason::Unplugged:
            text = Say("上传时里氏硬度计被拔出。",
                       "The hardness tester was unplugged during the upload.");
            break;
    }
    // The upload's boxes in the language chosen, through the window's translation.
    std::optional<CliTranslation> translation;
    translation.emplace(*Language());
    for (const std::string& message : failure.UploadMessages()) {
        text += " " + QCoreApplication::translate("RecordUpload", message.c_str()).toStdString();
    }
    return text;
}

RecordLines Upload(const std::shared_ptr<HidPlatform>& platform, char decimalSeparator) {
    ProgressLine progress;
    HeadlessUploadOptions options;
    options.DecimalSeparator = decimalSeparator;
    options.Progress = [&progress](const std::string& text) { progress.Show(text); };
    auto dispatcher = std::make_shared<ManualGuiDispatcher>();
    THidDeviceController controller(platform, dispatcher);
    try {
        return HeadlessUpload(controller, *dispatcher, options);
    } catch (const HeadlessUploadError& failure) {
        throw CliFailure(UploadFailureText(failure));
    }
}

}  // namespace

int RunUpload(const CommandArguments& arguments) {
    const std::string path = RecordFilePath(*arguments.Output);
    CheckWritableFolder(path);
    const char decimalSeparator = DecimalSeparator();

    RecordLines lines;
    if (arguments.Simulate) {
        auto bus = std::make_shared<SimulatedHidBus>();
        // Outlives the controller made in Upload: the controller's devices are gone before the
        // simulator unplugs itself.
        TesterSimulator tester(SimulatedRecords(arguments.SimulateFile));
        tester.PlugInto(bus);
        lines = Upload(bus, decimalSeparator);
    } else {
        lines = Upload(SystemHidPlatform(), decimalSeparator);
    }

    // A tester without records would otherwise replace an existing file with a bare header.
    if (lines.size() <= 1) {
        throw CliFailure(Say("里氏硬度计中没有数据，未写入文件。",
                             "The tester holds no records; no file was written."));
    }
    try {
        WriteRecordFile(path, lines);
    } catch (const RecordFileError& failure) {
        throw CliFailure(Say("无法写入记录文件：" + ErrorText::Of(failure).toStdString() + "。",
                             std::string(failure.what()) + "."));
    }
    const std::string count = std::to_string(lines.size() - 1);
    const std::string done = Say("已上传 " + count + " 条记录，写入 " + path + "。",
                                 count + " records uploaded into " + path + ".") +
                             "\n";
    std::fputs(done.c_str(), stderr);
    return ExitSuccess;
}

}  // namespace leeb::cli
