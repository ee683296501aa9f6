// The print-report command through the window: cancelled, shown in the preview, and stopped
// by a record line that does not convert.

#include <QPrintPreviewDialog>

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
        form->ReportSystem1().SetPreviewShower([this](QPrintPreviewDialog&) { ++previews; });
    }
    void ChooseOutput(std::optional<OutputOptions> options) {
        form->ReportSystem1().SetOptionsProvider([options](QWidget*) { return options; });
    }
    void PrintReport() {
        form->RunCommand([this] { form->BitBtn4Click(); });
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

}  // namespace
}  // namespace leeb
