#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "QtDialogHost.h"

namespace leeb {
namespace {

TEST(QtDialogHostTest, FlagsChooseIconAndButtons) {
    struct Case {
        unsigned Flags;
        QMessageBox::Icon Icon;
        QMessageBox::StandardButtons Buttons;
    };
    const Case cases[] = {
        {MB_OK, QMessageBox::NoIcon, QMessageBox::Ok},
        {MB_OK | MB_ICONERROR, QMessageBox::Critical, QMessageBox::Ok},
        {MB_OK | MB_ICONINFORMATION, QMessageBox::Information, QMessageBox::Ok},
        {MB_OK | MB_ICONWARNING, QMessageBox::Warning, QMessageBox::Ok},
        {MB_YESNO | MB_ICONQUESTION, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Flags);
        QMessageBox box;
        ConfigureMessageBox(box, QStringLiteral("文件名已存在!\n你要替换现在文件吗?"),
                            QStringLiteral("文件名重复"), c.Flags);
        EXPECT_EQ(box.icon(), c.Icon);
        EXPECT_EQ(box.standardButtons(), c.Buttons);
        EXPECT_EQ(box.windowTitle(), "文件名重复");
        EXPECT_EQ(box.text(), "文件名已存在!\n你要替换现在文件吗?");
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
    }
}

TEST(QtDialogHostTest, AnswersMapToTheMessageBoxResults) {
    EXPECT_EQ(MessageBoxAnswer(QMessageBox::Yes), IDYES);
    EXPECT_EQ(MessageBoxAnswer(QMessageBox::No), IDNO);
    EXPECT_EQ(MessageBoxAnswer(QMessageBox::Ok), IDOK);
}

// The question box run for real: whichever way it is closed, the answer is the index of the
// button in the order the texts were given, whatever order the box lays them out in.
TEST(QtDialogHostTest, AQuestionAnswersWithTheIndexOfTheButtonPressed) {
    const QStringList texts{"保存", "不保存", "取消"};
    struct Case {
        const char* Name;
        std::function<void(QMessageBox&)> Close;
        int Answer;
    };
    auto click = [](const QString& text) {
        return [text](QMessageBox& box) {
            for (QAbstractButton* button : box.buttons()) {
                if (button->text() == text)
                    button->click();
            }
        };
    };
    const Case cases[] = {
        {"first", click("保存"), 0},
        {"middle", click("不保存"), 1},
        {"last", click("取消"), 2},
        {"Escape", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, 2},
        {"Enter: the default", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, 0},
        {"closed by the window frame", [](QMessageBox& box) { box.close(); }, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QtDialogHost host;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen = true;
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            EXPECT_EQ(box->windowTitle(), "记录未保存");
            EXPECT_EQ(box->text(), "读入的记录还没有保存。\n要先保存吗?");
            EXPECT_EQ(box->buttons().size(), 3);
            c.Close(*box);
        });
        EXPECT_EQ(host.AskQuestion("读入的记录还没有保存。\n要先保存吗?", "记录未保存", texts),
                  c.Answer);
        EXPECT_TRUE(seen);
    }
}

}  // namespace
}  // namespace leeb
