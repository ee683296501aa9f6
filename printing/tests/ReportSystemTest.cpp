// A report run: output options, status window, preview and file destination, with Cancel.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "OutputOptionsDialog.h"
#include "ReportFonts.h"
#include "ReportStatusWindow.h"
#include "ReportSystem.h"
#include "ReportTestRecords.h"

namespace leeb {
namespace {

using namespace leeb::testing;

bool AnyMessageBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox*>(widget) != nullptr && widget->isVisible()) {
            return true;
        }
    }
    return false;
}

// Presses Cancel in the status window as soon as events run during generation.
void CancelStatusSoon() {
    QTimer::singleShot(0, [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* status = dynamic_cast<ReportStatusWindow*>(widget)) {
                status->CancelButton()->click();
            }
        }
    });
}

class ReportRun : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallFontSubstitutions();
        system_.SetPreviewShower([this](QPrintPreviewDialog& preview) {
            previews_++;
            auto* pages = preview.findChild<QPrintPreviewWidget*>();
            preview.show();  // showing must not undo the 100 % zoom
            QApplication::processEvents();
            zoom_ = pages->zoomFactor();
            pageCount_ = pages->pageCount();
            title_ = preview.windowTitle();
        });
    }
    void Choose(ReportDestination destination) {
        system_.SetOptionsProvider([this, destination](QWidget*) {
            OutputOptions options;
            options.Destination = destination;
            options.FilePath = pdf_;
            return std::optional<OutputOptions>(options);
        });
    }

    QTemporaryDir dir_;
    QString pdf_ = dir_.filePath(QStringLiteral("out.pdf"));
    ReportSystem system_;
    int previews_ = 0;
    double zoom_ = 0;
    int pageCount_ = 0;
    QString title_;
};

TEST_F(ReportRun, CancelInOutputOptionsOutputsNothing) {
    system_.SetOptionsProvider([](QWidget*) { return std::optional<OutputOptions>(); });
    system_.Run(nullptr, RecordsOf({3}), '.');
    EXPECT_EQ(previews_, 0);
    EXPECT_FALSE(AnyMessageBox());
}

TEST_F(ReportRun, CancelInStatusOutputsNothing) {
    for (auto destination : {ReportDestination::File, ReportDestination::Preview}) {
        Choose(destination);
        CancelStatusSoon();
        system_.Run(nullptr, RecordsOf({32, 32, 32, 32, 32}), '.');
        EXPECT_FALSE(QFile::exists(pdf_));
        EXPECT_EQ(previews_, 0);
        EXPECT_FALSE(AnyMessageBox());
    }
}

TEST_F(ReportRun, PreviewAtFullSizeWithAllPages) {
    Choose(ReportDestination::Preview);
    system_.Run(nullptr, RecordsOf({32, 32, 32, 32, 32, 32, 32, 32, 32}), '.');
    EXPECT_EQ(previews_, 1);
    EXPECT_EQ(title_, QStringLiteral("Report Preview"));
    EXPECT_DOUBLE_EQ(zoom_, 1.0);
    EXPECT_EQ(pageCount_, 3);
}

TEST_F(ReportRun, FileDestinationWritesThePdfAndNamesIt) {
    Choose(ReportDestination::File);
    EXPECT_EQ(system_.Run(nullptr, RecordsOf({3}), '.'), std::optional<QString>(pdf_));
    EXPECT_TRUE(QFile::exists(pdf_));
    Choose(ReportDestination::Preview);
    EXPECT_EQ(system_.Run(nullptr, RecordsOf({3}), '.'), std::nullopt);
}

TEST_F(ReportRun, BadLineFailsBeforeAnyOutput) {
    std::string bad = Line(HardnessHL, Readings(4));
    bad.resize(bad.size() - 6);
    for (auto destination : {ReportDestination::File, ReportDestination::Preview}) {
        Choose(destination);
        EXPECT_THROW(system_.Run(nullptr, Lines({Line(HardnessHL, Readings(3)), bad}), '.'),
                     ConversionError);
        EXPECT_FALSE(QFile::exists(pdf_));
        EXPECT_EQ(previews_, 0);
    }
}

TEST(OutputOptionsDialog, DefaultsAndChoices) {
    OutputOptionsDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Output Options"));
    EXPECT_TRUE(dialog.PreviewButton()->isChecked());
    EXPECT_EQ(dialog.Options().Destination, ReportDestination::Preview);
    EXPECT_EQ(dialog.Options().Copies, 1);
    EXPECT_EQ(dialog.Options().FirstPage, 0);

    dialog.FileButton()->setChecked(true);
    EXPECT_FALSE(dialog.OkButton()->isEnabled());  // a file needs a name
    dialog.FilePathEdit()->setText(QStringLiteral("/tmp/r.pdf"));
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    dialog.PageRangeButton()->setChecked(true);
    dialog.FromPageBox()->setValue(3);
    dialog.ToPageBox()->setValue(2);
    EXPECT_FALSE(dialog.OkButton()->isEnabled());  // an empty range
    dialog.ToPageBox()->setValue(4);
    const OutputOptions options = dialog.Options();
    EXPECT_EQ(options.Destination, ReportDestination::File);
    EXPECT_EQ(options.FilePath, QStringLiteral("/tmp/r.pdf"));
    EXPECT_EQ(options.FirstPage, 3);
    EXPECT_EQ(options.LastPage, 4);

    QTimer::singleShot(0, &dialog, [&dialog] { dialog.CancelButton()->click(); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
}

TEST(OutputOptionsDialog, AFileNameWithoutDotGetsThePdfExtension) {
    const struct {
        QString typed;
        QString file;
    } cases[] = {
        {QStringLiteral("/tmp/report"), QStringLiteral("/tmp/report.pdf")},
        {QStringLiteral("  /tmp/report  "), QStringLiteral("/tmp/report.pdf")},
        {QStringLiteral("/tmp/report.PDF"), QStringLiteral("/tmp/report.PDF")},
        {QStringLiteral("/tmp/v1.2/report"), QStringLiteral("/tmp/v1.2/report.pdf")},
        {QStringLiteral("/tmp/报表"), QStringLiteral("/tmp/报表.pdf")},
        // A FIFO or device is not renamed: the writer refuses it under its own name.
        {QStringLiteral("<fifo>"), QStringLiteral("<fifo>")},
    };
    QTemporaryDir folder;
    const QString fifo = folder.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    OutputOptionsDialog dialog;
    dialog.FileButton()->setChecked(true);
    for (const auto& c : cases) {
        dialog.FilePathEdit()->setText(QString(c.typed).replace(QStringLiteral("<fifo>"), fifo));
        EXPECT_EQ(dialog.Options().FilePath,
                  QString(c.file).replace(QStringLiteral("<fifo>"), fifo))
            << c.typed.toStdString();
    }
}

// Return from any control of the dialog presses OK, also from a button that had the focus
// (Browse... once clicked) and would otherwise be pressed again.
TEST(OutputOptionsDialog, ReturnPressesOk) {
    OutputOptionsDialog dialog;
    dialog.FileButton()->setChecked(true);
    dialog.FilePathEdit()->setText(QStringLiteral("/tmp/r.pdf"));
    int fileDialogs = 0;
    QTimer::singleShot(0, &dialog, [&] {
        QWidget* browse = nullptr;
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == QCoreApplication::translate("OutputOptionsDialog", "浏览(&B)..."))
                browse = button;
        }
        ASSERT_NE(browse, nullptr);
        browse->setFocus();
        // A file dialog opened by mistake is closed again, counted.
        QTimer::singleShot(50, &dialog, [&] {
            if (QWidget* modal = QApplication::activeModalWidget(); modal != &dialog) {
                ++fileDialogs;
                modal->close();
            }
        });
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(browse, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(browse, &release);
    });
    QTimer::singleShot(2000, &dialog, [&dialog] { dialog.reject(); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(fileDialogs, 0);
}

// "报表信息..." is there only when the run can take details, and pressing it keeps the dialog
// open with its choices.
TEST(OutputOptionsDialog, DetailsButtonOnlyWhenOfferedAndTheDialogStays) {
    OutputOptionsDialog plain;
    EXPECT_EQ(plain.DetailsButton(), nullptr);
    EXPECT_EQ(plain.findChild<QPushButton*>(QStringLiteral("Details")), nullptr);

    OutputOptionsDialog dialog;
    int edits = 0;
    dialog.OfferDetails([&edits] { ++edits; });
    ASSERT_NE(dialog.DetailsButton(), nullptr);
    dialog.FileButton()->setChecked(true);
    dialog.FilePathEdit()->setText(QStringLiteral("/tmp/r.pdf"));
    QTimer::singleShot(0, &dialog, [&dialog] {
        dialog.DetailsButton()->click();
        dialog.OkButton()->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(dialog.Options().Destination, ReportDestination::File);
    EXPECT_FALSE(dialog.DetailsButton()->autoDefault());
}

TEST(ReportStatusWindow, ShowsThePageAndCancels) {
    ReportStatusWindow status;
    EXPECT_EQ(status.windowTitle(), QStringLiteral("Report Status"));
    EXPECT_TRUE(status.Progress(7));
    EXPECT_EQ(status.StatusText(), QStringLiteral("Generating page 7"));
    status.CancelButton()->click();
    EXPECT_FALSE(status.Progress(7));
}

}  // namespace
}  // namespace leeb
