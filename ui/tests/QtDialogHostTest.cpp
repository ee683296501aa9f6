#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>

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

}  // namespace
}  // namespace leeb
