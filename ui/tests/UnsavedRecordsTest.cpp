// Uploaded records that have not been saved are not replaced or closed away without asking.

#include <functional>

#include "SaveOpenFixture.h"

namespace leeb {
namespace {

enum Answer { SaveThem = 0, DropThem = 1, KeepThem = 2 };

class UnsavedRecordsTest : public SaveOpenTest {
  protected:
    RecordLines Other() const {
        using namespace fixtures;
        return WithHeader({Line(SteelHL, {400, 401}, sep())});
    }
    void SetUp() override { WriteFile(PathOf("other.txt"), FileContent(Other())); }
};

TEST_F(UnsavedRecordsTest, OpeningAsksAboutUnsavedRecords) {
    struct Case {
        const char* Name;
        std::vector<int> Answers;
        std::vector<QString> SaveNames;  // the save dialog's answers; null cancels
        bool Opened;
        bool SavedFirst;
    };
    const Case cases[] = {
        {"keep them", {KeepThem}, {}, false, false},
        {"drop them", {DropThem}, {}, true, false},
        {"save them", {SaveThem}, {"kept.txt"}, true, true},
        {"save, then cancel the save dialog", {SaveThem}, {QString()}, false, false},
        {"save, then refuse to replace a file", {SaveThem}, {"present.txt"}, false, false},
        {"save as CSV: still no record file", {SaveThem}, {"kept.csv"}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        dialogs.Questions.clear();
        dialogs.QuestionAnswers.assign(c.Answers.begin(), c.Answers.end());
        QFile::remove(PathOf("kept.txt"));
        WriteFile(PathOf("present.txt"), "present");
        dialogs.Answers = {IDNO};  // to the replace question
        ShowAsUploaded(Sample());
        ASSERT_TRUE(form->RecordsUnsaved());
        for (const QString& name : c.SaveNames) {
            dialogs.SaveNames.push_back(name.isNull() ? name : PathOf(name));
        }

        Open(PathOf("other.txt"));
        ASSERT_EQ(dialogs.Questions.size(), 1u);
        EXPECT_EQ(dialogs.Questions[0].Text, "读入的记录还没有保存。\n要先保存吗?");
        EXPECT_EQ(dialogs.Questions[0].Caption, "记录未保存");
        EXPECT_EQ(dialogs.Questions[0].Buttons, (QStringList{"保存", "不保存", "取消"}));
        EXPECT_EQ(form->Lines(), c.Opened ? Other() : Sample());
        EXPECT_EQ(TreeTexts().size(), c.Opened ? 1 : 3);
        EXPECT_EQ(form->RecordsUnsaved(), !c.Opened);
        EXPECT_EQ(QFile::exists(PathOf("kept.txt")), c.SavedFirst);
        if (c.SavedFirst) {
            EXPECT_EQ(ReadFile(PathOf("kept.txt")), FileContent(Sample()));
        }
        EXPECT_EQ(ReadFile(PathOf("present.txt")), "present");
        EXPECT_TRUE(dialogs.SaveNames.empty());
    }
}

TEST_F(UnsavedRecordsTest, ClosingAsksAboutUnsavedRecords) {
    struct Case {
        const char* Name;
        std::vector<int> Answers;
        std::vector<QString> SaveNames;
        bool Closed;
        bool SavedFirst;
        bool Reported = false;
    };
    const Case cases[] = {
        {"keep them", {KeepThem}, {}, false, false},
        {"drop them", {DropThem}, {}, true, false},
        {"save them", {SaveThem}, {"kept.txt"}, true, true},
        {"save, then cancel the save dialog", {SaveThem}, {QString()}, false, false},
        {"save into a missing folder", {SaveThem}, {"no-such-folder/kept.txt"}, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        form.reset();
        form = std::make_unique<MainWindow>(bus, dispatcher, &dialogs);
        dialogs.Questions.clear();
        dialogs.Messages.clear();
        dialogs.QuestionAnswers.assign(c.Answers.begin(), c.Answers.end());
        QFile::remove(PathOf("kept.txt"));
        ShowAsUploaded(Sample());
        for (const QString& name : c.SaveNames) {
            dialogs.SaveNames.push_back(name.isNull() ? name : PathOf(name));
        }

        EXPECT_EQ(form->close(), c.Closed);
        EXPECT_EQ(dialogs.Questions.size(), 1u);
        EXPECT_EQ(form->Lines().empty(), c.Closed);
        EXPECT_EQ(QFile::exists(PathOf("kept.txt")), c.SavedFirst);
        // A failed save is reported and the window stays with its records.
        EXPECT_EQ(dialogs.Messages.size(), c.Reported ? 1u : 0u);
    }
}

TEST_F(UnsavedRecordsTest, NothingIsAskedForSavedRecordsOrRecordsFromAFile) {
    struct Case {
        const char* Name;
        std::function<void()> Before;
    };
    const Case cases[] = {
        {"no records", [] {}},
        {"saved",
         [this] {
             ShowAsUploaded(Sample());
             Save(PathOf("saved.txt"));
         }},
        {"opened", [this] { Open(PathOf("other.txt")); }},
        {"exported as CSV, then saved",
         [this] {
             ShowAsUploaded(Sample());
             Save(PathOf("table.csv"));
             Save(PathOf("saved.txt"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        form.reset();
        form = std::make_unique<MainWindow>(bus, dispatcher, &dialogs);
        dialogs.Questions.clear();
        c.Before();
        EXPECT_FALSE(form->RecordsUnsaved());
        Open(PathOf("other.txt"));
        EXPECT_EQ(form->Lines(), Other());
        EXPECT_TRUE(form->close());
        EXPECT_TRUE(dialogs.Questions.empty());
    }
}

}  // namespace
}  // namespace leeb
