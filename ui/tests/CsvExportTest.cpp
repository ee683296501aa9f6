// The CSV entry of the save dialog: an export of the records for spreadsheets beside the
// record file.

#include <QAction>

#include "RecordCsv.h"
#include "SaveOpenFixture.h"

namespace leeb {
namespace {

class CsvExportTest : public SaveOpenTest {
  protected:
    void Export(const QString& path) { Save(path, CsvFilterIndex); }
    RecordCsvOptions WithSeparator() const {
        RecordCsvOptions options;
        options.DecimalSeparator = sep();
        return options;
    }
    QByteArray ExpectedCsv() const {
        return QByteArray::fromStdString(FormatRecordCsv(Sample(), WithSeparator()));
    }
};

TEST_F(CsvExportTest, TheCsvEntryWritesTheRecordsAsATableAndKeepsTheSaveButton) {
    ShowAsUploaded(Sample());
    Export(PathOf("table.csv"));
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(dialogs.Filters, std::vector<QString>{SaveFileFilter});

    const QByteArray written = ReadFile(PathOf("table.csv"));
    EXPECT_EQ(written, ExpectedCsv());
    EXPECT_TRUE(written.startsWith("\xEF\xBB\xBF"));
    const QList<QByteArray> rows = written.mid(3).split('\n');
    ASSERT_EQ(rows.size(), 5) << "header, three records, and the empty rest after the last CR LF";
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("记录号").toUtf8()));
    EXPECT_TRUE(rows[2].startsWith("2"));
    EXPECT_TRUE(rows[2].contains(QStringLiteral("强度").toUtf8()));
    // The record file itself is still unsaved.
    EXPECT_EQ(ButtonStates(), "11111");
    EXPECT_EQ(form->Lines(), Sample());
}

// After a save of the record file the save button is disabled; the tree's "导出 CSV…" still
// writes the table the save writes for a .csv name, and is disabled only while no record is
// shown.
TEST_F(CsvExportTest, TheTreesExportCommandWorksWheneverRecordsAreShown) {
    QAction* exportCsv = form->ExportCsvAction();
    EXPECT_EQ(exportCsv->text(), QStringLiteral("导出 CSV…"));
    EXPECT_FALSE(exportCsv->isEnabled());
    EXPECT_TRUE(form->RecordTree()->actions().contains(exportCsv));
    EXPECT_EQ(form->RecordTree()->contextMenuPolicy(), Qt::ActionsContextMenu);

    ShowAsUploaded(Sample());
    Save(PathOf("records.txt"));
    ASSERT_EQ(ButtonStates(), "10111");
    ASSERT_TRUE(exportCsv->isEnabled());
    struct Case {
        QString Chosen;
        QString Written;
    };
    // The command names its format: a name without "." gets ".csv", any other is kept.
    const Case cases[] = {{"table", "table.csv"}, {"named.txt", "named.txt"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Chosen.toStdString());
        dialogs.SaveNames.push_back(PathOf(c.Chosen));
        dialogs.SaveFilterIndexes.push_back(0);
        exportCsv->trigger();
        EXPECT_TRUE(dialogs.Messages.empty());
        EXPECT_EQ(dialogs.Filters.back(), CsvFileFilter);
        EXPECT_EQ(ReadFile(PathOf(c.Written)), ExpectedCsv());
        EXPECT_EQ(form->FeedbackPanel()->text(),
                  QStringLiteral("已保存 %1").arg(QDir::toNativeSeparators(PathOf(c.Written))));
    }
    EXPECT_EQ(form->CurrentFile(), PathOf("records.txt")) << "an export is not a save";
    EXPECT_EQ(ButtonStates(), "10111");

    // It asks before replacing, as the save does.
    dialogs.SaveNames.push_back(PathOf("records.txt"));
    dialogs.SaveFilterIndexes.push_back(0);
    dialogs.Answers.push_back(IDNO);
    exportCsv->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Caption, "文件名重复");
    EXPECT_EQ(ReadFile(PathOf("records.txt")), FileContent(Sample()));

    // An upload starts with no records: nothing to export until the first one arrives.
    form->ClearRecords();
    EXPECT_FALSE(exportCsv->isEnabled());
    form->Lines() = Sample();
    AppendUploaded(1, 1);
    EXPECT_TRUE(exportCsv->isEnabled());
}

// A typed extension decides the format; the chosen entry decides only for a name without one,
// and gives it its extension.
TEST_F(CsvExportTest, TheTypedExtensionDecidesTheFormatTheEntryOnlyWithoutOne) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("v1.2"));
    struct Case {
        QString Chosen;
        int Filter;
        QString Written;
        bool Csv;
    };
    const Case cases[] = {
        {"results", CsvFilterIndex, "results.csv", true},
        {"v1.2/results", CsvFilterIndex, "v1.2/results.csv", true},
        {"records", 0, "records.txt", false},
        {"upper", 1, "upper.txt", false},
        {"v1.2/plain", 0, "v1.2/plain.txt", false},
        {"table.csv", CsvFilterIndex, "table.csv", true},
        {"named.csv", 0, "named.csv", true},
        {"SHOUTED.CSV", 1, "SHOUTED.CSV", true},
        {"data.txt", CsvFilterIndex, "data.txt", false},
        {"export.dat", CsvFilterIndex, "export.dat", false},
        {"table.csv.bak", CsvFilterIndex, "table.csv.bak", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Chosen.toStdString());
        ShowAsUploaded(Sample());
        Save(PathOf(c.Chosen), c.Filter);
        EXPECT_TRUE(dialogs.Messages.empty());
        EXPECT_EQ(ReadFile(PathOf(c.Written)), c.Csv ? ExpectedCsv() : FileContent(Sample()));
        EXPECT_EQ(form->Button(CommandButton::Save)->isEnabled(), c.Csv);
    }
}

TEST_F(CsvExportTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysYes) {
    ShowAsUploaded(Sample());
    WriteFile(PathOf("old.csv"), "old content");
    dialogs.Answers.push_back(IDNO);
    Export(PathOf("old.csv"));
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Text, "文件名已存在!\n你要替换现在文件吗?");
    EXPECT_EQ(dialogs.Messages[0].Caption, "文件名重复");
    EXPECT_EQ(ReadFile(PathOf("old.csv")), "old content");

    dialogs.Answers.push_back(IDYES);
    Export(PathOf("old"));  // becomes old.csv: the question is asked for the final name
    EXPECT_EQ(dialogs.Messages.size(), 2u);
    EXPECT_EQ(ReadFile(PathOf("old.csv")), ExpectedCsv());
    EXPECT_EQ(ButtonStates(), "11111");
}

TEST_F(CsvExportTest, TheRecordNumberColumnNamesTheRecordAsItsNodeDoes) {
    // A single-record upload of record 517: its line is line 1, its node says 517.
    using namespace fixtures;
    form->ClearRecords();
    form->Lines() = WithHeader({Line(SteelHL, {450, 460}, sep())});
    AppendUploaded(517, 1);
    Export(PathOf("single.csv"));
    EXPECT_TRUE(dialogs.Messages.empty());
    const QList<QByteArray> rows = ReadFile(PathOf("single.csv")).mid(3).split('\n');
    ASSERT_GE(rows.size(), 2);
    EXPECT_TRUE(rows[1].startsWith("517,")) << rows[1].toStdString();
}

TEST_F(CsvExportTest, FailuresAreReportedAndLeaveFileAndSaveButtonAsTheyWere) {
    struct Case {
        const char* Name;
        bool SaveEnabled;
        bool BadLine;  // a record line that does not convert
        QString Path;
    };
    const Case cases[] = {
        {"missing folder", true, false, "no-such-folder/table.csv"},
        {"bad record line, save enabled", true, true, "bad.csv"},
        {"bad record line, save disabled", false, true, "bad.csv"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        dialogs.Messages.clear();
        ShowAsUploaded(Sample());
        if (c.BadLine)
            form->Lines().push_back("not a record line");
        form->SetButtonEnabled(CommandButton::Save, c.SaveEnabled);
        WriteFile(PathOf("bad.csv"), "old content");
        dialogs.Answers.push_back(IDYES);

        Export(PathOf(c.Path));
        ASSERT_FALSE(dialogs.Messages.empty());
        EXPECT_EQ(dialogs.Messages.back().Icon(), "error");
        EXPECT_EQ(form->Button(CommandButton::Save)->isEnabled(), c.SaveEnabled);
        EXPECT_EQ(ReadFile(PathOf("bad.csv")), "old content");
        EXPECT_FALSE(QFile::exists(PathOf("no-such-folder")));
    }
}

}  // namespace
}  // namespace leeb
