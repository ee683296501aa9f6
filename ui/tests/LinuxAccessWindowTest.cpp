// The access-denied state on the Linux backend: a hidraw node (served through FUSE) that
// refuses opening for reading and writing, as it does without the udev rule.

#include <gtest/gtest.h>

#include "FakeHidrawTree.h"
#include "LinuxHidPlatform.h"
#include "ManualGuiDispatcher.h"
#include "ScriptedDialogHost.h"
#include "MainWindow.h"

namespace leeb {
namespace {

TEST(LinuxAccessWindowTest, ANodeRefusingReadWriteShowsTheUdevHintAndKeepsReadDisabled) {
    test::FakeHidrawTree tree;
    std::string whyNot;
    if (!tree.MountFuse(whyNot))
        GTEST_SKIP() << whyNot;
    struct Case {
        const char* Name;
        bool Refused;
        QString Panel2;
        bool ReadEnabled;
    };
    const Case cases[] = {
        {"without the udev rule", true, MainWindow::AccessDeniedText, false},
        {"with the udev rule", false, QString(), true},
    };
    int node = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        tree.AddNode(node, 0x1234, 0x5678, 0x0102, test::UnnumberedDescriptor(), c.Refused);
        auto dispatcher = std::make_shared<ManualGuiDispatcher>();
        ScriptedDialogHost dialogs;
        {
            MainWindow form(std::make_shared<LinuxHidPlatform>(tree.SysfsRoot(), tree.DevRoot(),
                                                           HidChangeSource::None),
                        dispatcher, &dialogs);
            dispatcher->ProcessPending();
            EXPECT_EQ(form.StatusPanel(1)->text(), "连接OK");
            EXPECT_EQ(form.StatusPanel(2)->text(), c.Panel2);
            EXPECT_EQ(form.Button(CommandButton::Read)->isEnabled(), c.ReadEnabled);
            form.RunCommand([&] { form.ReadRecordsClicked(); });
            EXPECT_EQ(form.UploadRunning(), !c.Refused);
            EXPECT_EQ(tree.Written(node).empty(), c.Refused);
            form.close();
        }
        EXPECT_TRUE(dialogs.Messages.empty());
        tree.RemoveNode(node);
        ++node;
    }
}

}  // namespace
}  // namespace leeb
