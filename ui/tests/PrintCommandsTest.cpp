// The print commands through the window: the report cancelled, shown in the preview, and
// stopped by a record line that does not convert; the chart to a printer, or to a PDF file when
// there is none.

#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "PdfText.h"
#include "RecordFixtures.h"
#include "ReportSystem.h"
#include "WindowFixture.h"

namespace leeb {
namespace {

using namespace fixtures;
using testing::PdfInfo;

class PrintCommandsTest : public WindowTest {
  protected:
    int previews = 0;

    void SetUp() override {
        form->Lines() = WithHeader({Line(SteelHL, {450, 460}, form->DecimalSeparatorInUse())});
        form->Reports().SetPreviewShower([this](QPrintPreviewDialog&) { ++previews; });
    }
    void ChooseOutput(std::optional<OutputOptions> options) {
        form->Reports().SetOptionsProvider([options](QWidget*) { return options; });
    }
    void PrintReport() {
        form->RunCommand([this] { form->PrintReportClicked(); });
    }
};

TEST_F(PrintCommandsTest, ACancelledReportChangesNothing) {
    ChooseOutput(std::nullopt);
    PrintReport();
    EXPECT_EQ(previews, 0);
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(ButtonStates(), "00001");
}

TEST_F(PrintCommandsTest, TheReportOfRecordLinesGoesToThePreview) {
    ChooseOutput(OutputOptions{});
    PrintReport();
    EXPECT_EQ(previews, 1);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(PrintCommandsTest, ALineThatDoesNotConvertIsReported) {
    ChooseOutput(OutputOptions{});
    form->Lines().push_back("  1,2024/05/17,    2,  abc,");
    PrintReport();
    EXPECT_EQ(previews, 0);
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Icon(), "error");
    EXPECT_EQ(form->Lines().size(), 3u);
}

// Each case hands the window its printer: a PDF file stands in for paper, and a printer with
// neither a name nor a file is what Qt gives where no printer is installed.
TEST_F(PrintCommandsTest, TheChartGoesToThePrinterOrWithNoneToAPdfWhenTheUserWants) {
    QTemporaryDir folder;
    const QString paper = folder.filePath(QStringLiteral("paper.pdf"));
    const QString kept = folder.filePath(QStringLiteral("kept"));  // ".pdf" is added
    const struct {
        const char* Name;
        QString OutputFile;
        int Answer;             // to the no-printer question: 0 save as PDF, 1 cancel
        QString SaveName;       // typed in the save dialog
        const char* Written;    // the file that must exist after it, or nullptr
        const char* Feedback;   // part of the status bar's text after it, or nullptr
    } cases[] = {
        {"to a printer", paper, -1, QString(), "paper.pdf", "paper.pdf"},
        {"no printer, cancelled", QString(), 1, QString(), nullptr, nullptr},
        {"no printer, save dialog cancelled", QString(), 0, QString(), nullptr, nullptr},
        {"no printer, saved as PDF", QString(), 0, kept, "kept.pdf", "kept.pdf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        dialogs.Messages.clear();
        dialogs.Questions.clear();
        dialogs.QuestionAnswers = {c.Answer};
        dialogs.SaveNames = {c.SaveName};
        form->ShowFeedback(QString());
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(c.OutputFile);
        printer->setPageSize(QPageSize(QPageSize::A4));
        form->UseChartPrinter(std::move(printer));
        form->RunCommand([this] { form->PrintChartClicked(); });
        EXPECT_TRUE(dialogs.Messages.empty());
        EXPECT_EQ(dialogs.Questions.size(), c.OutputFile.isEmpty() ? 1u : 0u);
        if (c.Written != nullptr) {
            const QString written = folder.filePath(QString::fromUtf8(c.Written));
            // The page the printer would have had: one landscape A4 sheet.
            const QString info = PdfInfo(written);
            EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
                << info.toStdString();
            EXPECT_TRUE(info.contains(QStringLiteral("842 x 595"))) << info.toStdString();
        } else {
            EXPECT_FALSE(QFileInfo::exists(kept + QStringLiteral(".pdf")));
            EXPECT_TRUE(form->FeedbackPanel()->text().isEmpty());
        }
        if (c.Feedback != nullptr) {
            EXPECT_TRUE(form->FeedbackPanel()->text().contains(QString::fromUtf8(c.Feedback)))
                << form->FeedbackPanel()->text().toStdString();
        }
    }
    // Replacing a file asks first; "no" keeps it as it was.
    QFile old(kept + QStringLiteral(".pdf"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
    old.write("old");
    old.close();
    dialogs.QuestionAnswers = {0};
    dialogs.SaveNames = {kept};
    dialogs.Answers = {IDNO};
    form->RunCommand([this] { form->PrintChartClicked(); });
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Icon(), "question");
    EXPECT_EQ(QFileInfo(kept + QStringLiteral(".pdf")).size(), 3);
}

}  // namespace
}  // namespace leeb
