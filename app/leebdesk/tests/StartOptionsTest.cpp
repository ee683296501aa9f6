#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "LeebdeskVersion.h"
#include "StartOptions.h"

namespace leeb {
namespace {

QStringList Command(const QStringList& arguments) {
    return QStringList{QStringLiteral("leebdesk")} + arguments;
}

TEST(StartOptionsTest, AcceptedCommandLines) {
    using Action = StartOptions::Action;
    struct Case {
        QStringList Arguments;
        Action What;
        bool Simulate;
        std::string File;
        QString Open = {};
        std::optional<InterfaceLanguage> Language = std::nullopt;  // none: the system's
    };
    const Case cases[] = {
        {{}, Action::Run, false, ""},
        {{"--simulate"}, Action::Run, true, ""},
        {{"--simulate=records.json"}, Action::Run, true, "records.json"},
        {{"--simulate=/tmp/a=b.json"}, Action::Run, true, "/tmp/a=b.json"},
        {{"--simulate=记录.json"}, Action::Run, true, QFile::encodeName("记录.json").toStdString()},
        {{"--help"}, Action::ShowHelp, false, ""},
        {{"-h", "--simulate"}, Action::ShowHelp, true, ""},
        {{"--version"}, Action::ShowVersion, false, ""},
        {{"--version", "--help"}, Action::ShowHelp, false, ""},
        // A record file to open, as a file manager passes it; with the simulator too.
        {{"records.txt"}, Action::Run, false, "", "records.txt"},
        {{"/home/me/测量 1.txt", "--simulate"}, Action::Run, true, "", "/home/me/测量 1.txt"},
        {{"--", "-r.txt"}, Action::Run, false, "", "-r.txt"},
        {{"-"}, Action::Run, false, "", "-"},
        {{"--lang", "en", "--simulate", "r.txt"}, Action::Run, true, "", "r.txt", InterfaceLanguage::English},
        {{"--lang=zh"}, Action::Run, false, "", "", InterfaceLanguage::Chinese},
        {{"--simulate", "--lang", "ZH"}, Action::Run, true, "", "", InterfaceLanguage::Chinese},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Arguments.join(' ').toStdString());
        const StartOptions options = ParseStartOptions(Command(c.Arguments));
        EXPECT_EQ(options.What, c.What);
        EXPECT_EQ(options.Simulate, c.Simulate);
        EXPECT_EQ(options.SimulateFile, c.File);
        EXPECT_EQ(options.OpenFile, c.Open);
        EXPECT_EQ(options.Language, c.Language);
    }
}

TEST(StartOptionsTest, RefusedCommandLinesSayWhatIsWrong) {
    struct Case {
        QStringList Arguments;
        const char* Named;  // part of the message
    };
    const Case cases[] = {
        {{"--simulated"}, "--simulated"},
        {{"a.txt", "b.txt"}, "only one record file"},
        {{"-r.txt"}, "-r.txt"},
        {{"--simulate="}, "needs a file name"},
        {{"--simulate", "--simulate=a.json"}, "only once"},
        {{"--lang"}, "needs zh or en"},
        {{"--lang", "fr"}, "not \"fr\""},
        {{"--lang="}, "not \"\""},
        {{"--lang", "en", "--lang=zh"}, "only once"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Arguments.join(' ').toStdString());
        try {
            ParseStartOptions(Command(c.Arguments));
            ADD_FAILURE() << "accepted";
        } catch (const StartOptionsError& error) {
            EXPECT_NE(std::string(error.what()).find(c.Named), std::string::npos) << error.what();
        }
    }
}

TEST(StartOptionsTest, TheSimulatedTesterHoldsTheSampleOrTheFilesRecords) {
    StartOptions builtIn;
    builtIn.Simulate = true;
    EXPECT_EQ(SimulatedTesterRecords(builtIn).Records.size(), 14u);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("two.json"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"records": [{"count": 1, "readings": [452], "settings": 0, "date": 2600},
                               {"count": 2, "readings": [450, 460], "settings": 0, "date": 2600}]})");
    file.close();
    StartOptions fromFile = ParseStartOptions(Command({"--simulate=" + path}));
    const SimulatorRecordSet records = SimulatedTesterRecords(fromFile);
    ASSERT_EQ(records.Records.size(), 2u);
    EXPECT_EQ(records.Records[1].Number, 2);
    EXPECT_EQ(records.Records[1].Record.Readings[1], 460);
}

TEST(StartOptionsTest, AnUnusableRecordFileIsAClearErrorNamingIt) {
    QTemporaryDir dir;
    struct Case {
        const char* Name;
        const char* Content;  // null: no file
    };
    const Case cases[] = {
        {"missing.json", nullptr},
        {"not-json.json", "records: 1"},
        {"truncated.json", R"({"records": [{"count": 1, "readings": [4)"},
        {"wrong-form.json", R"({"records": [{"count": "three"}]})"},
        {"empty.json", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString path = dir.filePath(QString::fromLatin1(c.Name));
        if (c.Content != nullptr) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.Content);
        }
        const StartOptions options = ParseStartOptions(Command({"--simulate=" + path}));
        try {
            SimulatedTesterRecords(options);
            ADD_FAILURE() << "loaded";
        } catch (const SimulatorRecordsError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("模拟硬度计"), std::string::npos) << message;
            EXPECT_NE(message.find(c.Name), std::string::npos) << message;
        }
    }
}

// Both answers come before anything needs a display: run with none, and no desktop session.
TEST(StartOptionsTest, HelpAndVersionWithoutADisplay) {
    struct Case {
        const char* Argument;
        const char* Out;  // part of the output
    };
    const Case cases[] = {
        {"--help", "leebdesk --simulate=FILE"},
        {"-h", "leebdesk --simulate=FILE"},
        {"--version", "leebdesk " LEEBDESK_VERSION_TEXT "\n"},
    };
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
        env.remove(QString::fromLatin1(name));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Argument);
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(LEEBDESK_PATH), {QString::fromLatin1(c.Argument)});
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_EQ(program.readAllStandardError().toStdString(), "");
        EXPECT_NE(program.readAllStandardOutput().toStdString().find(c.Out), std::string::npos);
    }
    EXPECT_EQ(VersionText(), "leebdesk " LEEBDESK_VERSION_TEXT "\n");
    // The number is the build's; its second form is the tester's, without the second dot
    // (1.0.2 is V1.02).
    const std::string version = LEEBDESK_VERSION;
    const std::size_t secondDot = version.find('.', version.find('.') + 1);
    ASSERT_NE(secondDot, std::string::npos) << version;
    const std::string testerForm = version.substr(0, secondDot) + version.substr(secondDot + 1);
    EXPECT_EQ(std::string(LEEBDESK_VERSION_TEXT), version + " (V" + testerForm + ")");
}

}  // namespace
}  // namespace leeb
