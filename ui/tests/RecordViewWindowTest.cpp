#include <QPixmap>

#include "BarChart.h"
#include "RecordFixtures.h"
#include "WindowFixture.h"

namespace leeb {
namespace {

using namespace fixtures;

class RecordViewWindowTest : public WindowTest {
  protected:
    char sep() const { return form->DecimalSeparatorInUse(); }

    // What an upload does: the tree cleared, then each record's line appended and announced.
    void ShowAsUploaded(const RecordLines& lines) {
        form->ClearRecords();
        form->Lines() = {lines.front()};
        for (std::size_t r = 1; r < lines.size(); ++r) {
            form->Lines().push_back(lines[r]);
            AppendUploaded(static_cast<int>(r), static_cast<int>(r));
        }
    }
    void ShowAsOpened(const RecordLines& lines) {
        form->ClearRecords();
        form->Lines() = lines;
        form->RebuildRecordTree();
    }
    bool HasPicture(const char* name) const {
        const QLabel* picture = Picture(name);
        return !picture->pixmap().isNull();
    }
};

TEST_F(RecordViewWindowTest, StrengthRecordThenHardnessRecord) {
    ShowAsOpened(WithHeader(
        {Line(StrengthChromium, {500, 510}, sep()), Line(SteelHL, {450, 460, 470}, sep())}));
    SelectRecord(0);
    EXPECT_EQ(Text("Label2"), "强度");
    EXPECT_EQ(Text("hardtypel"), "");
    EXPECT_EQ(Text("matel"), "铬钢");
    EXPECT_EQ(Text("headl"), "DC");
    EXPECT_TRUE(Picture("Image3")->isVisibleTo(form.get()));
    EXPECT_TRUE(HasPicture("Image3"));

    SelectRecord(1);
    EXPECT_EQ(Text("Label2"), "硬度制");
    EXPECT_EQ(Text("hardtypel"), "HL ");
    EXPECT_EQ(Text("matel"), "钢和铸钢");
    EXPECT_FALSE(Picture("Image3")->isVisibleTo(form.get()));
    EXPECT_EQ(Text("attackl"), "3");
    EXPECT_EQ(Text("maxp"), "470");
    EXPECT_EQ(Text("minp"), "450");
    EXPECT_EQ(Text("avgp"), " 460");
    EXPECT_EQ(Text("datemea"), "2024/05/17");
    EXPECT_EQ(Text("reclab"), "记录号: 2");
}

TEST_F(RecordViewWindowTest, OneDecimalReadingNodesAfterUploadAndAfterOpen) {
    const RecordLines lines = WithHeader({Line(SteelHRC, {453, 888, 600}, sep())});
    for (bool opened : {false, true}) {
        SCOPED_TRACE(opened ? "opened" : "uploaded");
        opened ? ShowAsOpened(lines) : ShowAsUploaded(lines);
        EXPECT_EQ(TreeTexts(), (QStringList{"存储记录1"}));
        EXPECT_EQ(TreeTexts(form->TreeModel().RecordIndex(0)), (QStringList{"45.3", "88.8", "60"}));
    }
    SelectRecord(0);
    EXPECT_EQ(ChartValues(), (std::vector<double>{45.3, 88.8, 60.0}));
    EXPECT_EQ(Text("maxp"), "88.8");
    EXPECT_EQ(Text("minp"), "45.3");
}

TEST_F(RecordViewWindowTest, TenBarsThenThreeBars) {
    ShowAsOpened(
        WithHeader({Line(SteelHL, {401, 402, 403, 404, 405, 406, 407, 408, 409, 410}, sep()),
                    Line(SteelHL, {500, 1500, 2500}, sep())}));
    // The rebuild draws record 1.
    EXPECT_EQ(form->Chart()->Points().size(), 10u);
    SelectRecord(0);
    ASSERT_EQ(form->Chart()->Points().size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(form->Chart()->Points()[i], QPointF(i + 1, 401 + i));
    SelectRecord(1);
    EXPECT_EQ(ChartValues(), (std::vector<double>{500, 1500, 2500}));
    EXPECT_EQ(form->Chart()->MarkTexts().size(), 3u);
}

TEST_F(RecordViewWindowTest, SelectingAReadingNodeChangesNothing) {
    ShowAsOpened(WithHeader({Line(SteelHL, {450, 460}, sep()), Line(SteelHRC, {300}, sep())}));
    SelectRecord(0);
    form->RecordTree()->setCurrentIndex(
        form->TreeModel().index(0, 0, form->TreeModel().RecordIndex(1)));
    EXPECT_EQ(ChartValues(), (std::vector<double>{450, 460}));
    EXPECT_EQ(Text("reclab"), "记录号: 1");
    EXPECT_EQ(Text("attackl"), "2");
}

TEST_F(RecordViewWindowTest, Record12ShowsLine12) {
    RecordLines lines{std::string(RecordFileHeader)};
    for (int r = 1; r <= 12; ++r) {
        lines.push_back(
            Line(SteelHL, {static_cast<uint16_t>(100 + r), 200}, sep(), Date(2020, 1, r)));
    }
    ShowAsOpened(lines);
    SelectRecord(11);
    EXPECT_EQ(Text("reclab"), "记录号: 12");
    EXPECT_EQ(Text("datemea"), "2020/01/12");
    EXPECT_EQ(ChartValues(), (std::vector<double>{112, 200}));
}

TEST_F(RecordViewWindowTest, ARecordNodeShowsItsOwnLineWhateverItsNumber) {
    // A single-record upload: record 517 sits on line 1.
    form->ClearRecords();
    form->Lines() = WithHeader({Line(SteelHL, {517, 518}, sep())});
    AppendUploaded(517, 1);
    EXPECT_EQ(TreeTexts(), (QStringList{"存储记录517"}));
    SelectRecord(0);
    EXPECT_EQ(Text("reclab"), "记录号: 517");
    EXPECT_EQ(ChartValues(), (std::vector<double>{517, 518}));
}

TEST_F(RecordViewWindowTest, DirectionWithoutPictogramClearsThePicture) {
    ShowAsOpened(WithHeader({Line(Settings(2, 0, 0, 0, 0), {450}, sep()),
                             Line(Settings(6, 0, 0, 0, 0), {450}, sep()),
                             Line(Settings(0, 0, 0, 0, 0), {450}, sep())}));
    struct Case {
        int Row;
        bool Picture;
    };
    for (const Case c : {Case{0, true}, Case{1, false}, Case{2, true}}) {
        SCOPED_TRACE(c.Row);
        SelectRecord(c.Row);
        EXPECT_EQ(HasPicture("Image2"), c.Picture);
    }
}

TEST_F(RecordViewWindowTest, AConversionFailureDuringASelectionIsReportedAndTheProgramGoesOn) {
    ShowAsOpened(WithHeader({Line(SteelHL, {450, 460}, sep()), Line(SteelHL, {300, 310}, sep())}));
    SelectRecord(0);
    form->Lines()[2] = "  2,2024/05/17,    0,  abc,";
    SelectRecord(1);
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_FALSE(dialogs.Messages[0].Text.isEmpty());
    EXPECT_EQ(dialogs.Messages[0].Icon(), "error");
    EXPECT_EQ(dialogs.Messages[0].Buttons(), "ok");
    // The steps before the failure stay done, the ones after it never ran.
    EXPECT_EQ(Text("reclab"), "记录号: 2");
    EXPECT_EQ(ChartValues(), (std::vector<double>{450, 460}));
    SelectRecord(0);
    EXPECT_EQ(Text("reclab"), "记录号: 1");
    EXPECT_EQ(dialogs.Messages.size(), 1u);
}

TEST_F(RecordViewWindowTest, ARecordWhoseLineIsGoneShowsNothing) {
    ShowAsOpened(WithHeader({Line(SteelHL, {450, 460}, sep())}));
    SelectRecord(0);
    form->RecordTree()->clearSelection();
    form->RecordTree()->setCurrentIndex({});
    form->Lines().clear();
    SelectRecord(0);
    EXPECT_EQ(Text("reclab"), "记录号: 1");
    EXPECT_EQ(ChartValues(), (std::vector<double>{450, 460}));
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(RecordViewWindowTest, ChartMarksCarryTheValuesJoinedByTwentyPixelArrows) {
    form->show();
    ShowAsOpened(WithHeader({Line(SteelHRC, {453, 1000, 888}, sep())}));
    SelectRecord(0);
    Pump();
    form->Chart()->UpdateMarks();
    const std::vector<QString> marks = form->Chart()->MarkTexts();
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0], QLocale::system().toString(45.3, 'f', 1));
    for (int i = 0; i < 3; ++i) {
        const QLineF arrow = form->Chart()->ArrowLine(i);
        EXPECT_DOUBLE_EQ(arrow.length(), BarChart::ArrowLength);
        EXPECT_LT(arrow.p2().y(), arrow.p1().y());  // the mark sits above its bar
    }
    // Bars stand left to right in reading order.
    EXPECT_LT(form->Chart()->ArrowLine(0).x1(), form->Chart()->ArrowLine(1).x1());
    EXPECT_LT(form->Chart()->ArrowLine(1).x1(), form->Chart()->ArrowLine(2).x1());
}

}  // namespace
}  // namespace leeb
