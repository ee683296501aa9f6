// The window as a desktop program: kept on the screen, its keys and tooltips, files opened by
// drop and from the recent list, the caption naming the file, status-bar feedback, and what
// is remembered between runs.

#include <gmock/gmock.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLayout>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QUrl>

#include "AboutBox.h"
#include "DesktopSettings.h"
#include "LeebdeskVersion.h"
#include "QtDialogHost.h"
#include "RecentFilesMenu.h"
#include "RecordFileDrop.h"
#include "ReportSystem.h"
#include "SaveOpenFixture.h"
#include "UploadOptionsMenu.h"
#include "WindowIcon.h"
#include "WindowPlacement.h"
#include "WindowShortcuts.h"

namespace leeb {
namespace {

using ::testing::HasSubstr;

TEST(WindowPlacementTest, FrameIsMovedAndIfNeedBeShrunkOntoTheScreen) {
    const QRect screen(0, 0, 1400, 900);
    struct Case {
        const char* Name;
        QRect Frame;
        QRect Fitted;
    };
    const Case cases[] = {
        {"inside", {100, 100, 896, 634}, {100, 100, 896, 634}},
        {"title bar above the screen", {100, -40, 896, 634}, {100, 0, 896, 634}},
        {"off the right and bottom", {900, 500, 896, 634}, {504, 266, 896, 634}},
        {"off the left", {-300, 100, 896, 634}, {0, 100, 896, 634}},
        // QT_SCALE_FACTOR=2: the design size is twice as large as the screen allows.
        {"larger than the screen", {-200, -150, 1792, 1268}, {0, 0, 1400, 900}},
        {"wider only", {50, 50, 1500, 634}, {0, 50, 1400, 634}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitFrameOnScreen(c.Frame, screen), c.Fitted) << c.Name;
    }
    // A screen that lies left of and above the primary one.
    const QRect second(-1280, -200, 1280, 1024);
    EXPECT_EQ(FitFrameOnScreen({-100, -300, 896, 634}, second), QRect(-896, -200, 896, 634));
}

class DesktopWindowTest : public SaveOpenTest {
  protected:
    QString SavedSample(const QString& name) {
        const QString path = PathOf(name);
        WriteFile(path, FileContent(Sample()));
        return path;
    }
    // A drop of `data` at the middle of the window, as a file manager makes it.
    bool Drop(QMimeData& data) {
        const QPointF at(form->width() / 2.0, form->height() / 2.0);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &drop);
        Pump();
        return drop.isAccepted();
    }
    static QMimeData* Files(const QStringList& paths) {
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data->setUrls(urls);
        return data;
    }
};

TEST_F(DesktopWindowTest, OpensWhollyOnTheScreenAndIsBroughtBackOntoIt) {
    const QRect available = form->screen()->availableGeometry();
    form->show();
    Pump();
    const QRect frame = form->geometry().marginsAdded(FrameMargins(*form));
    EXPECT_TRUE(available.contains(frame));
    // Centred, as the design wants.
    EXPECT_LE(std::abs(frame.center().x() - available.center().x()), 1);

    // Geometry restored from a larger screen: larger than this one and partly off it.
    form->setMinimumSize(880, 596);
    form->setGeometry(-500, -300, available.width() + 400, available.height() + 300);
    KeepOnScreen(*form);
    EXPECT_TRUE(available.contains(form->geometry().marginsAdded(FrameMargins(*form))))
        << form->geometry().x() << "," << form->geometry().y();
    EXPECT_GE(form->geometry().top(), available.top() + FrameMargins(*form).top());
}

TEST_F(DesktopWindowTest, KeysPressTheirButtonsAndTooltipsNameThem) {
    struct Case {
        CommandButton Button;
        QKeySequence Key;
        const char* Tip;
    };
    const Case cases[] = {
        {CommandButton::Read, QKeySequence(Qt::Key_F5), "读入数据 (F5)"},
        {CommandButton::Save, QKeySequence(Qt::CTRL | Qt::Key_S), "保存 (Ctrl+S)"},
        {CommandButton::Open, QKeySequence(Qt::CTRL | Qt::Key_O), "打开 (Ctrl+O)"},
        {CommandButton::PrintReport, QKeySequence(Qt::CTRL | Qt::Key_P), "打印报表 (Ctrl+P)"},
        {CommandButton::PrintChart, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
         "打印图表 (Ctrl+Shift+P)"},
    };
    form->show();
    QApplication::setActiveWindow(form.get());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Tip);
        EXPECT_EQ(ShortcutOf(c.Button), c.Key);
        EXPECT_THAT(form->Button(c.Button)->toolTip().toStdString(), HasSubstr(c.Tip));
        // The command itself must not run (dialogs, printers): only the press counts.
        QObject::disconnect(form->Button(c.Button), nullptr, form.get(), nullptr);
        int clicks = 0;
        const auto counter = QObject::connect(form->Button(c.Button), &QPushButton::clicked,
                                              [&clicks] { ++clicks; });
        // Disabled: the key does nothing either; enabled: it presses the button.
        for (const bool enabled : {false, true}) {
            form->Button(c.Button)->setEnabled(enabled);
            QTest::keySequence(form.get(), c.Key);
            EXPECT_EQ(clicks, enabled ? 1 : 0) << "enabled " << enabled;
        }
        QObject::disconnect(counter);
    }
}

TEST_F(DesktopWindowTest, AboutNamesVersionLicenceAndLibraries) {
    const std::string text = AboutText().toStdString();
    for (const std::string& part :
         {std::string("里氏硬度计  ") + LEEBDESK_CAPTION_VERSION, std::string(LEEBDESK_VERSION),
          std::string("GPL-3.0-or-later"), std::string("Qt ") + qVersion()}) {
        EXPECT_THAT(text, HasSubstr(part));
    }
    EXPECT_EQ(MainWindow::Caption.toStdString(),
              std::string("里氏硬度计  ") + LEEBDESK_CAPTION_VERSION);
}

// The window's icon is the one the package installs for the menu, at every installed size.
TEST_F(DesktopWindowTest, WindowIconIsTheInstalledIcon) {
    for (int size : WindowIconSizes) {
        SCOPED_TRACE(size);
        const QImage installed(
            QStringLiteral(LEEBDESK_SOURCE_DIR "/packaging/icons/leebdesk-%1.png").arg(size));
        ASSERT_FALSE(installed.isNull());
        const QImage shown = form->windowIcon().pixmap(QSize(size, size)).toImage();
        EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  installed.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
}

TEST_F(DesktopWindowTest, ADroppedRecordFileOpensAsTheOpenButtonWould) {
    const QString path = SavedSample(QStringLiteral("dropped.txt"));
    std::unique_ptr<QMimeData> one(Files({path}));
    ASSERT_TRUE(Drop(*one));
    EXPECT_EQ(TreeTexts(), (QStringList{"存储记录1", "存储记录2", "存储记录3"}));
    EXPECT_EQ(ButtonStates(), "11111");
    EXPECT_EQ(form->CurrentFile(), QFileInfo(path).absoluteFilePath());
    EXPECT_EQ(form->windowTitle(), MainWindow::Caption + QStringLiteral(" - dropped.txt"));

    // What the open button refuses, a drop refuses the same way.
    const QString bad = PathOf(QStringLiteral("bad.txt"));
    WriteFile(bad, "not a record file\r\n");
    std::unique_ptr<QMimeData> badFile(Files({bad}));
    ASSERT_TRUE(Drop(*badFile));
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Caption, QStringLiteral("文件格式错误"));
}

TEST_F(DesktopWindowTest, DropsThatAreNoSingleLocalFileOrComeDuringACommandAreRefused) {
    const QString path = SavedSample(QStringLiteral("a.txt"));
    const QString other = SavedSample(QStringLiteral("b.txt"));
    std::unique_ptr<QMimeData> two(Files({path, other}));
    EXPECT_FALSE(Drop(*two));
    QMimeData text;
    text.setText(path);
    EXPECT_FALSE(Drop(text));
    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.org/a.txt"))});
    EXPECT_FALSE(Drop(remote));

    // The open button disabled (an upload running): no drop either.
    form->SetButtonEnabled(CommandButton::Open, false);
    std::unique_ptr<QMimeData> one(Files({path}));
    EXPECT_FALSE(Drop(*one));
    EXPECT_EQ(TreeTexts(), QStringList());
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(DesktopWindowTest, CaptionAndFeedbackFollowOpenSaveExportAndUpload) {
    form->show();
    form->statusBar()->layout()->activate();
    const std::array<QRect, 3> panels = {form->StatusPanel(0)->geometry(),
                                         form->StatusPanel(1)->geometry(),
                                         form->StatusPanel(2)->geometry()};
    const QString opened = SavedSample(QStringLiteral("opened.txt"));
    EXPECT_EQ(form->windowTitle(), MainWindow::Caption);
    Open(opened);
    EXPECT_EQ(form->windowTitle(), MainWindow::Caption + QStringLiteral(" - opened.txt"));
    EXPECT_THAT(form->FeedbackPanel()->text().toStdString(), HasSubstr("3 条记录"));

    const QString saved = PathOf(QStringLiteral("saved.txt"));
    Save(saved);
    EXPECT_EQ(form->windowTitle(), MainWindow::Caption + QStringLiteral(" - saved.txt"));
    EXPECT_EQ(form->FeedbackPanel()->text(),
              QStringLiteral("已保存 ") + QDir::toNativeSeparators(saved));

    // An export is no save of the records: the caption keeps the record file.
    const QString csv = PathOf(QStringLiteral("table.csv"));
    Save(csv, CsvFilterIndex);
    EXPECT_EQ(form->windowTitle(), MainWindow::Caption + QStringLiteral(" - saved.txt"));
    EXPECT_EQ(form->FeedbackPanel()->text(),
              QStringLiteral("已保存 ") + QDir::toNativeSeparators(csv));

    // The report as a PDF file.
    const QString pdf = PathOf(QStringLiteral("report.pdf"));
    form->Reports().SetOptionsProvider([pdf](QWidget*) {
        OutputOptions options;
        options.Destination = ReportDestination::File;
        options.FilePath = pdf;
        return std::optional<OutputOptions>(options);
    });
    form->RunCommand([this] { form->PrintReportClicked(); });
    EXPECT_EQ(form->FeedbackPanel()->text(),
              QStringLiteral("已保存 ") + QDir::toNativeSeparators(pdf));

    // Records that come from the tester belong to no file until saved.
    ShowAsUploaded(Sample());
    form->Upload().UploadEnded(UploadOutcome::Complete);
    EXPECT_EQ(form->windowTitle(), MainWindow::Caption);
    EXPECT_EQ(form->FeedbackPanel()->text(), QStringLiteral("已读入 3 条记录"));
    // The design's status panels stay where they were.
    form->statusBar()->layout()->activate();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(form->StatusPanel(i)->geometry(), panels[static_cast<std::size_t>(i)]) << i;
}

TEST_F(DesktopWindowTest, TabGoesRoundTreeButtonsAndLabInputsAndTheSelectionStaysMarked) {
    Open(SavedSample(QStringLiteral("r.txt")));
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->RecordTree()->setFocus();
    QStringList order;
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QWidget* focus = QApplication::focusWidget();
        order << (focus == nullptr ? QStringLiteral("<none>")
                                   : focus->objectName() + QStringLiteral("/") +
                                         QString::fromLatin1(focus->metaObject()->className()));
    }
    EXPECT_EQ(order,
              (QStringList{"BitBtn1/QPushButton", "BitBtn2/QPushButton", "BitBtn3/QPushButton",
                           "BitBtn4/QPushButton", "BitBtn5/QPushButton", "LowerLimit/QLineEdit",
                           "UpperLimit/QLineEdit", "ExcludeInvalid/QCheckBox",
                           "EachReading/QCheckBox", "TreeView1/QTreeView"}));

    const QPalette colours = form->RecordTree()->palette();
    EXPECT_EQ(colours.color(QPalette::Inactive, QPalette::Highlight),
              colours.color(QPalette::Active, QPalette::Highlight));
    EXPECT_NE(colours.color(QPalette::Inactive, QPalette::Highlight),
              colours.color(QPalette::Inactive, QPalette::Base));
}

// Settings in a temporary file stand for the user's.
class RememberedTest : public DesktopWindowTest {
  protected:
    QTemporaryDir settingsDir;
    QString SettingsFile() const { return settingsDir.filePath(QStringLiteral("leebdesk.ini")); }
};

TEST_F(RememberedTest, SettingsComeBackFromTheFile) {
    QStringList files;
    for (int i = 0; i < 10; ++i)
        files << SavedSample(QStringLiteral("r%1.txt").arg(i));
    {
        QSettings store(SettingsFile(), QSettings::IniFormat);
        DesktopSettings settings(store);
        settings.SetWindowGeometry(QByteArray("geometry bytes"));
        settings.SetLastFolder(QStringLiteral("open"), QStringLiteral("/srv/records"));
        settings.SetLastFolder(QStringLiteral("save"), QStringLiteral("/home/me/out"));
        for (const QString& file : files)
            settings.AddRecentFile(file);
        settings.AddRecentFile(files[4]);  // again: moves to the front, not listed twice
        settings.RemoveRecentFile(files[9]);
    }
    QSettings store(SettingsFile(), QSettings::IniFormat);
    const DesktopSettings settings(store);
    EXPECT_EQ(settings.WindowGeometry(), QByteArray("geometry bytes"));
    EXPECT_EQ(settings.LastFolder(QStringLiteral("open")), QStringLiteral("/srv/records"));
    EXPECT_EQ(settings.LastFolder(QStringLiteral("save")), QStringLiteral("/home/me/out"));
    EXPECT_EQ(settings.LastFolder(QStringLiteral("pdf")), QString());
    EXPECT_EQ(settings.RecentFiles(),
              (QStringList{files[4], files[8], files[7], files[6], files[5], files[3], files[2]}));
}

TEST_F(RememberedTest, WindowGeometryRoundTrip) {
    QSettings store(SettingsFile(), QSettings::IniFormat);
    DesktopSettings settings(store);
    form->show();
    form->setGeometry(120, 90, 1000, 700);
    Pump();
    settings.SetWindowGeometry(form->saveGeometry());
    store.sync();

    QSettings again(SettingsFile(), QSettings::IniFormat);
    MainWindow next(bus, dispatcher, &dialogs);
    ASSERT_TRUE(next.restoreGeometry(DesktopSettings(again).WindowGeometry()));
    next.show();
    EXPECT_EQ(next.geometry(), QRect(120, 90, 1000, 700));
}

TEST_F(RememberedTest, VerifiedUploadIsChosenOnTheReadButtonAndRemembered) {
    {
        QSettings store(SettingsFile(), QSettings::IniFormat);
        DesktopSettings settings(store);
        InstallUploadOptions(*form, settings);
        EXPECT_FALSE(form->VerifiedUpload());  // off until asked for
        auto* action = form->findChild<QAction*>(QStringLiteral("VerifiedUploadAction"));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QStringLiteral("校验读取"));
        action->trigger();
        EXPECT_TRUE(form->VerifiedUpload());
        store.sync();
    }
    QSettings again(SettingsFile(), QSettings::IniFormat);
    DesktopSettings remembered(again);
    MainWindow next(bus, dispatcher, &dialogs);
    InstallUploadOptions(next, remembered);
    EXPECT_TRUE(next.VerifiedUpload());
}

TEST_F(RememberedTest, OpenedAndSavedFilesAreOfferedOnTheOpenButton) {
    QSettings store(SettingsFile(), QSettings::IniFormat);
    DesktopSettings settings(store);
    InstallRecentFiles(*form, settings);
    const QString first = SavedSample(QStringLiteral("first.txt"));
    const QString second = SavedSample(QStringLiteral("second.txt"));
    Open(first);
    Save(second);
    EXPECT_EQ(settings.RecentFiles(), (QStringList{second, first}));

    // The menu lists them, most recent first; choosing one opens it.
    QMenu menu;
    FillRecentFilesMenu(menu, *form, settings);
    ASSERT_EQ(menu.actions().size(), 2);
    EXPECT_EQ(menu.actions()[0]->text(), QStringLiteral("&1  second.txt"));
    EXPECT_EQ(menu.actions()[1]->text(), QStringLiteral("&2  first.txt"));
    menu.actions()[1]->trigger();
    EXPECT_EQ(form->CurrentFile(), first);
    EXPECT_EQ(settings.RecentFiles(), (QStringList{first, second}));

    // A file gone since: the open command's message, and it leaves the list.
    QFile::remove(second);
    FillRecentFilesMenu(menu, *form, settings);
    dialogs.Messages.clear();
    menu.actions()[1]->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Caption, QStringLiteral("文件不存在"));
    EXPECT_EQ(settings.RecentFiles(), QStringList{first});

    // No controls were added to the button bar.
    EXPECT_EQ(form->Button(CommandButton::Open)->parentWidget()->children().size(),
              form->Button(CommandButton::Read)->parentWidget()->children().size());
    EXPECT_EQ(form->Button(CommandButton::Open)->geometry(), QRect(272, 10, 75, 25));
}

TEST_F(RememberedTest, EachFileDialogStartsWhereItWasLeft) {
    QSettings store(SettingsFile(), QSettings::IniFormat);
    DesktopSettings settings(store);
    QtDialogHost host;
    host.SetSettings(&settings);
    QDir(dir.path()).mkdir(QStringLiteral("records"));
    QDir(dir.path()).mkdir(QStringLiteral("out"));
    settings.SetLastFolder(QStringLiteral("open"), PathOf(QStringLiteral("records")));
    settings.SetLastFolder(QStringLiteral("save"), PathOf(QStringLiteral("out")));

    struct Case {
        bool Save;
        QString Folder;  // where the dialog must start
        QString Chosen;
    };
    const Case cases[] = {
        {false, PathOf(QStringLiteral("records")), PathOf(QStringLiteral("out/x.txt"))},
        // A save elsewhere leaves the open dialog's folder alone, and the other way round.
        {true, PathOf(QStringLiteral("out")), PathOf(QStringLiteral("records/y.txt"))},
        {false, PathOf(QStringLiteral("out")), PathOf(QStringLiteral("out/z.txt"))},
        {true, PathOf(QStringLiteral("records")), PathOf(QStringLiteral("records/y.txt"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Chosen.toStdString());
        QString startedIn;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            startedIn = dialog->directory().absolutePath();
            dialog->selectFile(c.Chosen);
            static_cast<QDialog*>(dialog)->accept();
        });
        if (c.Save)
            host.GetSaveFileName(SaveFileFilter);
        else
            host.GetOpenFileName(RecordFileFilter);
        EXPECT_EQ(startedIn, c.Folder);
    }
}

}  // namespace
}  // namespace leeb
