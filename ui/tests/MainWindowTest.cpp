#include <QLayout>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeView>

#include "WindowFixture.h"

namespace leeb {
namespace {

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, StartsWithOnlyOpenEnabledAndAnEmptyStatusUntilTheFirstChangeReport) {
    EXPECT_EQ(ButtonStates(), "00001");
    EXPECT_EQ(form->StatusPanel(1)->text(), "");
    Pump();
    EXPECT_EQ(form->StatusPanel(1)->text(), "未连接");
    EXPECT_EQ(ButtonStates(), "00001");
    EXPECT_EQ(form->StatusPanel(0)->text(), "");
    EXPECT_EQ(form->StatusPanel(2)->text(), "");
    EXPECT_EQ(form->windowTitle(), "里氏硬度计  V1.02");
    EXPECT_FALSE(form->windowIcon().isNull());
    EXPECT_EQ(TreeTexts().size(), 0);
    EXPECT_EQ(Text("reclab"), "记录号: ");
    EXPECT_FALSE(Picture("Image3")->isVisibleTo(form.get()));
}

TEST_F(MainWindowTest, ControlsSitAtTheirDesignPositions) {
    form->show();
    form->layout()->activate();
    struct Design {
        const char* Name;
        QRect Geometry;
        const char* Text;
    };
    const Design designs[] = {
        {"Panel1", {0, 0, 225, 567}, nullptr},      {"Panel2", {229, 0, 651, 567}, nullptr},
        {"Panel4", {0, 8, 649, 313}, nullptr},      {"Chart1", {1, 1, 647, 311}, nullptr},
        {"Panel5", {0, 336, 649, 161}, nullptr},    {"Panel3", {0, 504, 649, 41}, nullptr},
        {"BitBtn1", {64, 10, 75, 25}, "读入数据"},  {"BitBtn2", {168, 10, 75, 25}, "保存"},
        {"BitBtn5", {272, 10, 75, 25}, "打开"},     {"BitBtn3", {368, 10, 75, 25}, "打印图表"},
        {"BitBtn4", {472, 10, 75, 25}, "打印报表"}, {"Panel9", {16, 8, 105, 30}, nullptr},
        {"reclab", {8, 8, 81, 13}, "记录号: "},     {"Label1", {16, 56, 65, 17}, "测量材料"},
        {"matel", {80, 44, 105, 30}, ""},           {"Label9", {16, 92, 65, 13}, "冲击装置"},
        {"headl", {80, 82, 105, 30}, ""},           {"Label5", {16, 128, 57, 13}, "最大值"},
        {"maxp", {80, 120, 105, 30}, ""},           {"Label2", {208, 57, 57, 14}, "硬度制"},
        {"hardtypel", {288, 44, 105, 30}, ""},      {"Image3", {32, 0, 41, 33}, nullptr},
        {"Label3", {208, 92, 65, 13}, "冲击方向"},  {"Panel15", {288, 82, 105, 30}, nullptr},
        {"Image2", {33, 1, 32, 28}, nullptr},       {"minl", {208, 128, 65, 13}, "最小值"},
        {"minp", {288, 120, 105, 30}, ""},          {"Label8", {424, 56, 65, 13}, "测量日期"},
        {"datemea", {504, 44, 105, 30}, ""},        {"Label4", {424, 88, 65, 13}, "冲击次数"},
        {"attackl", {504, 82, 105, 30}, ""},        {"avgl", {424, 129, 49, 13}, "平均值"},
        {"avgp", {504, 120, 105, 30}, ""},
    };
    for (const Design& d : designs) {
        SCOPED_TRACE(d.Name);
        const QWidget* widget = form->findChild<QWidget*>(QString::fromLatin1(d.Name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), d.Geometry);
        if (d.Text == nullptr)
            continue;
        if (auto* button = qobject_cast<const QPushButton*>(widget)) {
            EXPECT_EQ(button->text(), QString::fromUtf8(d.Text));
        } else {
            EXPECT_EQ(qobject_cast<const QLabel*>(widget)->text(), QString::fromUtf8(d.Text));
        }
    }
    const QTreeView* tree = form->RecordTree();
    EXPECT_EQ(tree->parentWidget()->objectName(), "Panel1");
    EXPECT_EQ(tree->geometry(), QRect(1, 1, 223, 565));
    EXPECT_EQ(tree->indentation(), 19);
    EXPECT_EQ(form->statusBar()->geometry(), QRect(0, 567, 880, 29));
    EXPECT_EQ(form->StatusPanel(0)->width(), 50);
    EXPECT_EQ(form->StatusPanel(1)->width(), 100);
    EXPECT_EQ(form->StatusPanel(2)->width(), 50);
}

// Growing the window grows the tree in height and the chart in both directions; the detail
// panel and the button bar keep their size below the chart. The design size is the smallest.
TEST_F(MainWindowTest, ResizingGrowsTreeAndChartAndKeepsDetailsAndButtonsBelowTheChart) {
    struct Case {
        QSize Asked;
        QSize Window;  // what the window becomes
        QRect Panel1, Panel2, Panel4, Chart1, Panel5, Panel3;
    };
    const Case cases[] = {
        {{880, 596},
         {880, 596},
         {0, 0, 225, 567},
         {229, 0, 651, 567},
         {0, 8, 649, 313},
         {1, 1, 647, 311},
         {0, 336, 649, 161},
         {0, 504, 649, 41}},
        {{1000, 700},
         {1000, 700},
         {0, 0, 225, 671},
         {229, 0, 771, 671},
         {0, 8, 769, 417},
         {1, 1, 767, 415},
         {0, 440, 649, 161},
         {0, 608, 649, 41}},
        // Only taller, only wider.
        {{880, 800},
         {880, 800},
         {0, 0, 225, 771},
         {229, 0, 651, 771},
         {0, 8, 649, 517},
         {1, 1, 647, 515},
         {0, 540, 649, 161},
         {0, 708, 649, 41}},
        {{1200, 596},
         {1200, 596},
         {0, 0, 225, 567},
         {229, 0, 971, 567},
         {0, 8, 969, 313},
         {1, 1, 967, 311},
         {0, 336, 649, 161},
         {0, 504, 649, 41}},
        // Smaller than the design: held at the design size.
        {{600, 420},
         {880, 596},
         {0, 0, 225, 567},
         {229, 0, 651, 567},
         {0, 8, 649, 313},
         {1, 1, 647, 311},
         {0, 336, 649, 161},
         {0, 504, 649, 41}},
    };
    form->show();
    EXPECT_EQ(form->minimumSize(), QSize(880, 596));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Asked.width()) + "x" +
                     testing::PrintToString(c.Asked.height()));
        form->resize(c.Asked);
        form->layout()->activate();
        EXPECT_EQ(form->size(), c.Window);
        const std::pair<const char*, QRect> parts[] = {
            {"Panel1", c.Panel1}, {"Panel2", c.Panel2}, {"Panel4", c.Panel4},
            {"Chart1", c.Chart1}, {"Panel5", c.Panel5}, {"Panel3", c.Panel3},
        };
        for (const auto& [name, rect] : parts) {
            EXPECT_EQ(form->findChild<QWidget*>(QString::fromLatin1(name))->geometry(), rect)
                << name;
        }
        EXPECT_EQ(form->RecordTree()->geometry(), QRect(1, 1, 223, c.Panel1.height() - 2));
        EXPECT_EQ(form->statusBar()->geometry(),
                  QRect(0, c.Window.height() - 29, c.Window.width(), 29));
        // The buttons stay inside the window, whole.
        const QWidget* open = form->Button(CommandButton::Open);
        const QRect onWindow(open->mapTo(form.get(), QPoint(0, 0)), open->size());
        EXPECT_TRUE(form->centralWidget()->geometry().contains(onWindow));
    }
}

TEST_F(MainWindowTest, TabOrderFollowsTheButtonNames) {
    QWidget* w = form->Button(CommandButton::Read);
    QStringList order;
    for (int i = 0; i < 5; ++i) {
        order << w->objectName();
        w = w->nextInFocusChain();
        while (qobject_cast<QPushButton*>(w) == nullptr)
            w = w->nextInFocusChain();
    }
    EXPECT_EQ(order, (QStringList{"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5"}));
}

TEST_F(MainWindowTest, AFailedCommandIsReportedAndTheProgramGoesOn) {
    form->RunCommand([] { throw ConversionError("'x' is not a valid floating point value"); });
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Text, "'x' is not a valid floating point value");
    EXPECT_EQ(dialogs.Messages[0].Icon(), "error");
    EXPECT_EQ(dialogs.Messages[0].Buttons(), "ok");
    // What an upload tells its user goes to the same host, worded by the window.
    UploadNotice notice;
    notice.Kind = UploadNoticeKind::NoReply;
    form->Upload().Notify(notice);
    ASSERT_EQ(dialogs.Messages.size(), 2u);
    EXPECT_EQ(dialogs.Messages[1].Text, "里氏硬度计无应答");
    EXPECT_EQ(dialogs.Messages[1].Caption, "USB Error");
}

}  // namespace
}  // namespace leeb
