// "报表信息": the fields come back as entered, Skip drops the details but keeps the record
// choice, and a record list that does not fit keeps the dialog open with the reason.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ReportDetailsDialog.h"

namespace leeb {
namespace {

template <class T>
T* Child(const QDialog& dialog, const char* name) {
    T* child = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

TEST(ReportDetailsDialogTest, ProposalShownAndChoiceReturned) {
    ReportDetailsChoice proposed;
    proposed.Details.Company = "华东检测中心";
    proposed.Details.Standard = "ISO 16859-1";
    proposed.Details.Signatures = true;
    proposed.Records = QStringLiteral("2-3");
    ReportDetailsDialog dialog(proposed, 5);
    EXPECT_EQ(Child<QLineEdit>(dialog, "Company")->text(), "华东检测中心");
    EXPECT_EQ(Child<QComboBox>(dialog, "Standard")->currentText(), "ISO 16859-1");
    EXPECT_EQ(Child<QComboBox>(dialog, "Standard")->count(), 3);
    EXPECT_TRUE(Child<QCheckBox>(dialog, "Signatures")->isChecked());

    Child<QLineEdit>(dialog, "Lot")->setText(QStringLiteral("  H2291 "));
    Child<QComboBox>(dialog, "Standard")->setCurrentText(QStringLiteral("GB/T 17394.1"));
    Child<QPushButton>(dialog, "Continue")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const ReportDetailsChoice choice = dialog.Choice();
    EXPECT_FALSE(choice.Skipped);
    EXPECT_EQ(choice.Details.Company, "华东检测中心");
    EXPECT_EQ(choice.Details.Lot, "H2291");
    EXPECT_EQ(choice.Details.Standard, "GB/T 17394.1");
    EXPECT_EQ(choice.Records, "2-3");
}

TEST(ReportDetailsDialogTest, SkipKeepsTheRecordChoiceOnly) {
    ReportDetailsChoice proposed;
    proposed.Details.Company = "华东检测中心";
    proposed.Records = QStringLiteral("1,4");
    ReportDetailsDialog dialog(proposed, 5);
    Child<QPushButton>(dialog, "Skip")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const ReportDetailsChoice choice = dialog.Choice();
    EXPECT_TRUE(choice.Skipped);
    EXPECT_FALSE(choice.Details.Any());
    EXPECT_EQ(choice.Records, "1,4");
}

TEST(ReportDetailsDialogTest, ARecordListThatDoesNotFitKeepsTheDialogOpen) {
    for (const char* button : {"Continue", "Skip"}) {
        ReportDetailsDialog dialog({}, 3);
        Child<QLineEdit>(dialog, "Records")->setText(QStringLiteral("2-4"));
        Child<QPushButton>(dialog, button)->click();
        EXPECT_NE(dialog.result(), QDialog::Accepted) << button;
        EXPECT_FALSE(Child<QLabel>(dialog, "Problem")->isHidden()) << button;
        EXPECT_TRUE(Child<QLabel>(dialog, "Problem")->text().contains(QStringLiteral("超出")));

        Child<QLineEdit>(dialog, "Records")->setText(QStringLiteral("2-3"));
        Child<QPushButton>(dialog, button)->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << button;
    }
}

}  // namespace
}  // namespace leeb
