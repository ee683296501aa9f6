#include "MainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QVBoxLayout>

#include "BarChart.h"
#include "ClientArea.h"
#include "ConnectionWatcher.h"
#include "DetailPanel.h"
#include "DirectionPictograms.h"
#include "ErrorText.h"
#include "FontSetup.h"
#include "LabSettings.h"
#include "LeebdeskVersion.h"
#include "LocaleNumbers.h"
#include "QtDialogHost.h"
#include "RecordFileDrop.h"
#include "RecordTreeModel.h"
#include "RecordUpload.h"
#include "UploadNoticeText.h"
#include "ReportSystem.h"
#include "HidDeviceController.h"
#include "WindowIcon.h"
#include "WindowPlacement.h"
#include "WindowShortcuts.h"

namespace leeb {

const QString MainWindow::Caption = QString::fromUtf8("里氏硬度计  " LEEBDESK_CAPTION_VERSION);

QString MainWindow::ShownCaption() {
    return QCoreApplication::translate("MainWindow", "里氏硬度计") +
           QStringLiteral("  " LEEBDESK_CAPTION_VERSION);
}

namespace {

constexpr int ClientWidth = 880;
constexpr int ClientHeight = 596;
constexpr int StatusBarHeight = 29;
// The tree's background: the classic desktop colour, under white node texts.
const QColor DesktopColour(58, 110, 165);

QFrame* NewPanel(const char* name, QWidget* parent, QRect geometry, QFrame::Shadow shadow) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(geometry);
    panel->setFrameStyle(QFrame::Panel | shadow);
    panel->setLineWidth(1);
    return panel;
}

}  // namespace

MainWindow::MainWindow(std::shared_ptr<HidPlatform> platform, std::shared_ptr<HidGuiDispatcher> dispatcher,
               DialogHost* dialogs, QWidget* parent)
    : QMainWindow(parent),
      ownDialogs_(dialogs == nullptr ? std::make_unique<QtDialogHost>(this) : nullptr),
      dialogs_(dialogs == nullptr ? *ownDialogs_ : *dialogs),
      decimalSeparator_(DecimalSeparator()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ShownCaption());
    setWindowIcon(MakeWindowIcon());
    // Resizable, with system menu and minimise box but no maximise box.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());

    LoadImageList();
    BuildControls();
    reports_ = std::make_unique<ReportSystem>();
    // The design size is also the smallest: below it the panels would cover one another.
    resize(ClientWidth, ClientHeight);
    setMinimumSize(ClientWidth, ClientHeight);
    CentreOnScreen(*this);
    InstallShortcuts(*this);
    InstallRecordFileDrop(*this);

    autoStartTimer_.setObjectName(QStringLiteral("Timer2"));
    autoStartTimer_.setSingleShot(true);
    autoStartTimer_.setInterval(10);
    connect(&autoStartTimer_, &QTimer::timeout, this, [this] { RunCommand([this] { AutoStartTimerFired(); }); });
    replyTimer_.setSingleShot(true);

    // The controller posts its first device-change notice now; the event loop delivers it
    // after FormCreate, so the watcher's first run comes after the window is complete.
    CreateHidController(std::move(platform), std::move(dispatcher));
    FormCreate();
}

MainWindow::~MainWindow() {
    FormClose();
    upload_.reset();
    controller_.reset();
}

void MainWindow::LoadImageList() {
    InitPictogramResources();
    pictograms_.reserve(PictogramCount);
    for (int i = 0; i < PictogramCount; ++i) {
        pictograms_.emplace_back(QString::fromStdString(DirectionPictogramResource(i)));
    }
}

void MainWindow::BuildControls() {
    auto* client = new ClientArea(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client);
    ClientArea::Parts parts;
    parts.Panel1 = BuildRecordPanel();
    BuildViewPanel(parts);
    client->SetParts(parts);
    BuildQualityControls();  // needs the tree's model and the detail panel
    BuildStatusBar();
    // Tab goes round the tree and the five buttons; the chart and the detail panel show and
    // take no input.
    chart_->setFocusPolicy(Qt::NoFocus);
    for (QWidget* part : chart_->findChildren<QWidget*>())
        part->setFocusPolicy(Qt::NoFocus);
    setTabOrder(recordTree_, Button(CommandButton::Read));
}

QWidget* MainWindow::BuildRecordPanel() {
    QWidget* client = centralWidget();
    QFrame* panel1 = NewPanel("Panel1", client, {0, 0, 225, 567}, QFrame::Raised);
    auto* fill = new QVBoxLayout(panel1);
    fill->setContentsMargins(0, 0, 0, 0);  // inside the panel's 1-pixel bevel

    model_ = std::make_unique<RecordTreeModel>(recordLines_, decimalSeparator_);
    recordTree_ = new QTreeView(panel1);
    recordTree_->setObjectName(QStringLiteral("TreeView1"));
    recordTree_->setHeaderHidden(true);
    recordTree_->setIndentation(19);
    recordTree_->setRootIsDecorated(true);
    // The classic style draws the connecting lines between nodes that the tree shows; the
    // desktop's own style may leave them out.
    if (QStyle* lines = QStyleFactory::create(QStringLiteral("Windows"))) {
        lines->setParent(recordTree_);
        recordTree_->setStyle(lines);
    }
    recordTree_->setUniformRowHeights(true);  // keeps a full tester's 61,439 rows instant
    recordTree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Ctrl and Shift choose records for the report and the CSV export; a plain click still
    // selects the one record it shows.
    recordTree_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QPalette colours = recordTree_->palette();
    colours.setColor(QPalette::Base, DesktopColour);
    colours.setColor(QPalette::Text, Qt::white);
    // The record shown stays marked while a button has the focus.
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    recordTree_->setPalette(colours);
    recordTree_->setModel(model_.get());
    fill->addWidget(recordTree_);
    connect(recordTree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                RunCommand([this, current] { RecordNodeChanging(current); });
            });
    return panel1;
}

void MainWindow::BuildViewPanel(ClientArea::Parts& parts) {
    QWidget* client = centralWidget();
    QFrame* panel2 = NewPanel("Panel2", client, {229, 0, 651, 567}, QFrame::Raised);

    QFrame* panel4 = NewPanel("Panel4", panel2, {0, 8, 649, 313}, QFrame::Sunken);
    chart_ = new BarChart(panel4);
    chart_->setGeometry(1, 1, 647, 311);

    detailPanel_ = new DetailPanel(pictograms_, decimalSeparator_, panel2);
    detailPanel_->setGeometry(0, 336, 649, 161);

    QFrame* panel3 = NewPanel("Panel3", panel2, {0, 504, 649, 41}, QFrame::Sunken);
    parts.Panel2 = panel2;
    parts.Panel4 = panel4;
    parts.Chart1 = chart_;
    parts.Panel5 = detailPanel_;
    parts.Panel3 = panel3;
    struct ButtonDesign {
        CommandButton Button;
        const char* Name;
        QString Text;
        int Left;
    };
    const ButtonDesign designs[] = {
        {CommandButton::Read, "BitBtn1", tr("读入数据"), 64},
        {CommandButton::Save, "BitBtn2", tr("保存"), 168},
        {CommandButton::Open, "BitBtn5", tr("打开"), 272},
        {CommandButton::PrintChart, "BitBtn3", tr("打印图表"), 368},
        {CommandButton::PrintReport, "BitBtn4", tr("打印报表"), 472},
    };
    for (const ButtonDesign& design : designs) {
        auto* button = new QPushButton(design.Text, panel3);
        button->setObjectName(QString::fromLatin1(design.Name));
        button->setGeometry(design.Left, 10, 75, 25);
        button->setAutoDefault(false);
        buttons_[static_cast<std::size_t>(design.Button)] = button;
    }
    // Tab order follows the names: read, save, print chart, print report, open.
    setTabOrder(Button(CommandButton::Read), Button(CommandButton::Save));
    setTabOrder(Button(CommandButton::Save), Button(CommandButton::PrintChart));
    setTabOrder(Button(CommandButton::PrintChart), Button(CommandButton::PrintReport));
    setTabOrder(Button(CommandButton::PrintReport), Button(CommandButton::Open));

    const std::pair<CommandButton, void (MainWindow::*)()> clicks[] = {
        {CommandButton::Read, &MainWindow::ReadRecordsClicked},
        {CommandButton::Save, &MainWindow::SaveClicked},
        {CommandButton::PrintChart, &MainWindow::PrintChartClicked},
        {CommandButton::PrintReport, &MainWindow::PrintReportClicked},
        {CommandButton::Open, &MainWindow::OpenClicked},
    };
    for (const auto& [button, handler] : clicks) {
        connect(Button(button), &QPushButton::clicked, this,
                [this, handler] { RunCommand([this, handler] { (this->*handler)(); }); });
    }
}

void MainWindow::BuildStatusBar() {
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(StatusBarHeight);
    const int widths[] = {50, 100, 50};
    for (std::size_t i = 0; i < statusPanels_.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(widths[i]);
        if (i == 2) {
            // Empty but for the access message, which it widens to show whole.
            panel->setMinimumWidth(widths[i]);
            panel->setMaximumWidth(QWIDGETSIZE_MAX);
        }
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(panel);
        statusPanels_[i] = panel;
    }
    feedback_ = new QLabel(bar);
    feedback_->setObjectName(QStringLiteral("StatusMessage"));
    // A long path is cut off at the window's edge; the tooltip shows it whole.
    feedback_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(feedback_, 1);
    setStatusBar(bar);
}

QPushButton* MainWindow::Button(CommandButton button) const {
    return buttons_[static_cast<std::size_t>(button)];
}

void MainWindow::FormCreate() {
    for (CommandButton button : {CommandButton::Read, CommandButton::Save,
                                 CommandButton::PrintChart, CommandButton::PrintReport}) {
        SetButtonEnabled(button, false);
    }
    recordLines_.clear();
    // Image3 starts hidden (DetailPanel builds it so).
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Now the window's frame is known; a window restored from another screen setup, or one
    // larger than a small or scaled screen, is brought wholly onto the screen.
    if (!placedOnScreen_) {
        placedOnScreen_ = true;
        KeepOnScreen(*this);
    }
}

void MainWindow::ShowFeedback(const QString& text) {
    feedback_->setText(text);
    feedback_->setToolTip(text);
}

void MainWindow::SetCurrentFile(const QString& path) {
    currentFile_ = path;
    setWindowTitle(path.isEmpty()
                       ? ShownCaption()
                       : ShownCaption() + QStringLiteral(" - ") + QFileInfo(path).fileName());
    if (!path.isEmpty() && fileListener_)
        fileListener_(path);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool mayClose = true;
    if (!closed_) {
        try {
            mayClose = MayReplaceRecords(RecordsReplacedBy::Close);
        } catch (const std::exception& error) {
            ReportError(error);  // the save failed: the window stays, with its records
            mayClose = false;
        }
    }
    if (!mayClose) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void MainWindow::ReportError(const std::exception& error) {
    dialogs_.MessageBox(ErrorText::Of(error), ShownCaption(), MB_OK | MB_ICONERROR);
}

void MainWindow::RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        ReportError(error);
    }
}

// UploadView --------------------------------------------------------------------------------

void MainWindow::ClearRecords() {
    model_->Clear();
    chart_->Clear();
    shownReadings_.clear();
    recordsUnsaved_ = false;
    SetCurrentFile(QString());
    ShowFeedback(QString());
}

void MainWindow::RecordAppended(const AppendedRecord& record) {
    model_->AppendRecord(
        {record.Number, record.LineIndex, static_cast<int>(record.Fields.Readings.size())});
    recordsUnsaved_ = true;
}

void MainWindow::AddBar(int x, double y) {
    chart_->AddPoint(x, y);
    shownReadings_.push_back(y);
}

void MainWindow::ShowRecordDetails(const RecordView& record) {
    // The upload shows the record numbered 1 and no other; the record number says so.
    detailPanel_->SetRecordNumberText(QStringLiteral("1"));
    ShowRecordWithQuality(record);
}

void MainWindow::SetButtonEnabled(CommandButton button, bool enabled) {
    // While the tester refuses access, nothing (the end of an upload, an open) enables reading.
    if (button == CommandButton::Read && accessDenied_)
        enabled = false;
    Button(button)->setEnabled(enabled);
}

void MainWindow::Notify(const UploadNotice& notice) {
    const UploadNoticeBox box = UploadNoticeBoxOf(notice);
    dialogs_.MessageBox(box.Text, box.Caption, box.Flags);
}

void MainWindow::SetProgress(const std::string& text) {
    statusPanels_[0]->setText(QString::fromStdString(text));
}

bool MainWindow::AutoStartArmed() const {
    return autoStartTimer_.isActive();
}

void MainWindow::ArmAutoStart() {
    // Enabling an armed Timer2 leaves its due time alone: a tester that keeps sending must not
    // put the start off for ever.
    if (!autoStartTimer_.isActive())
        autoStartTimer_.start(10);
}

void MainWindow::UploadEnded(UploadOutcome /*outcome*/) {
    // The progress counter is gone; the count of what arrived stays.
    if (!recordLines_.empty()) {
        ShowFeedback(
            QCoreApplication::translate("MainWindow", "已读入 %1 条记录").arg(recordLines_.size() - 1));
    }
}

void MainWindow::StartReplyTimer(int milliseconds) {
    replyTimer_.start(milliseconds);
}

void MainWindow::CancelReplyTimer() {
    replyTimer_.stop();
}

}  // namespace leeb
