// The print commands through the window: the report cancelled, shown in the preview, and
// stopped by a record line that does not convert; the chart to a printer, or refused when there
// is none.

#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTemporaryDir>

#include "RecordFixtures.h"
#include "ReportSystem.h"
#include "WindowFixture.h"

namespace leeb {
namespace {

using namespace fixtures;

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
TEST_F(PrintCommandsTest, TheChartGoesToThePrinterOrIsRefusedWhenThereIsNone) {
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("chart.pdf"));
    const struct {
        const char* Name;
        QString OutputFile;
        const char* Message;   // the error shown, or nullptr
        const char* Feedback;  // part of the status bar's text after it, or nullptr
    } cases[] = {
        {"to a printer", pdf, nullptr, "chart.pdf"},
        {"no printer", QString(), "没有可用的打印机", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        dialogs.Messages.clear();
        form->ShowFeedback(QString());
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(c.OutputFile);
        form->UseChartPrinter(std::move(printer));
        form->RunCommand([this] { form->PrintChartClicked(); });
        if (c.Message != nullptr) {
            ASSERT_EQ(dialogs.Messages.size(), 1u);
            EXPECT_EQ(dialogs.Messages[0].Icon(), "error");
            EXPECT_TRUE(dialogs.Messages[0].Text.contains(QString::fromUtf8(c.Message)))
                << dialogs.Messages[0].Text.toStdString();
        } else {
            EXPECT_TRUE(dialogs.Messages.empty());
            EXPECT_GT(QFileInfo(pdf).size(), 0);
        }
        if (c.Feedback != nullptr) {
            EXPECT_TRUE(form->FeedbackPanel()->text().contains(QString::fromUtf8(c.Feedback)))
                << form->FeedbackPanel()->text().toStdString();
        }
    }
}

}  // namespace
}  // namespace leeb
