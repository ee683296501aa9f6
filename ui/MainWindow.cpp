#include "MainWindow.h"

#include <QAction>
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
#include "DetailPanel.h"
#include "ErrorText.h"
#include "FontSetup.h"
#include "LabRow.h"
#include "LabSettings.h"
#include "LeebdeskVersion.h"
#include "LocaleNumbers.h"
#include "QtDialogHost.h"
#include "RecordFileDrop.h"
#include "RecordSet.h"
#include "RecordTreeModel.h"
#include "ReportSystem.h"
#include "UploadPresenter.h"
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

MainWindow::MainWindow(std::shared_ptr<HidPlatform> platform,
                       std::shared_ptr<HidGuiDispatcher> dispatcher, DialogHost* dialogs,
                       QWidget* parent)
    : QMainWindow(parent),
      ownDialogs_(dialogs == nullptr ? std::make_unique<QtDialogHost>(this) : nullptr),
      dialogs_(dialogs == nullptr ? *ownDialogs_ : *dialogs),
      decimalSeparator_(DecimalSeparator()),
      records_(std::make_unique<RecordSet>(decimalSeparator_)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ShownCaption());
    setWindowIcon(MakeWindowIcon());
    // Resizable, with system menu and minimise box but no maximise box.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());

    BuildControls();
    reports_ = std::make_unique<ReportSystem>();
    // The design size is also the smallest: below it the panels would cover one another.
    resize(ClientWidth, ClientHeight);
    setMinimumSize(ClientWidth, ClientHeight);
    CentreOnScreen(*this);
    InstallShortcuts(*this);
    InstallRecordFileDrop(*this);
    WireRecordSet();

    // The controller posts its first device-change notice now; the event loop delivers it
    // after StartWithOnlyOpenEnabled, so the watcher's first run comes after the window is complete.
    upload_ = std::make_unique<UploadPresenter>(std::move(platform), std::move(dispatcher),
                                                *records_, dialogs_, decimalSeparator_);
    WireUpload();
    StartWithOnlyOpenEnabled();
}

MainWindow::~MainWindow() {
    ReleaseTesterAndRecords();
    upload_.reset();
}

void MainWindow::BuildControls() {
    auto* client = new ClientArea(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client);
    ClientArea::Parts parts;
    parts.RecordPanel = BuildRecordPanel();
    BuildViewPanel(parts);
    client->SetParts(parts);
    BuildLabRow();  // needs the tree's model and the detail panel
    BuildStatusBar();
    // Tab goes round the tree, the five buttons and the lab's inputs; the chart and the
    // detail panel show and take no input.
    chart_->setFocusPolicy(Qt::NoFocus);
    for (QWidget* part : chart_->findChildren<QWidget*>())
        part->setFocusPolicy(Qt::NoFocus);
    setTabOrder(recordTree_, Button(CommandButton::Read));
    // After the buttons the lab's inputs, then back to the tree.
    QWidget* previous = Button(CommandButton::Open);
    for (QWidget* input : labRow_->Inputs()) {
        setTabOrder(previous, input);
        previous = input;
    }
    setTabOrder(previous, recordTree_);
}

QWidget* MainWindow::BuildRecordPanel() {
    QWidget* client = centralWidget();
    QFrame* recordPanel = NewPanel("Panel1", client, {0, 0, 225, 567}, QFrame::Raised);
    auto* fill = new QVBoxLayout(recordPanel);
    fill->setContentsMargins(0, 0, 0, 0);  // inside the panel's 1-pixel bevel

    model_ = std::make_unique<RecordTreeModel>(records_->Lines(), decimalSeparator_);
    recordTree_ = new QTreeView(recordPanel);
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
    // After a save the save button is disabled; the table can still be exported from here.
    exportCsv_ = new QAction(tr("导出 CSV…"), recordTree_);
    exportCsv_->setObjectName(QStringLiteral("ExportCsv"));
    exportCsv_->setEnabled(false);  // until records are shown
    recordTree_->addAction(exportCsv_);
    recordTree_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(exportCsv_, &QAction::triggered, this,
            [this] { RunCommand([this] { ExportCsvClicked(); }); });
    connect(recordTree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                RunCommand([this, current] { RecordNodeChanging(current); });
            });
    return recordPanel;
}

void MainWindow::BuildViewPanel(ClientArea::Parts& parts) {
    QWidget* client = centralWidget();
    QFrame* viewPanel = NewPanel("Panel2", client, {229, 0, 651, 567}, QFrame::Raised);

    QFrame* chartFrame = NewPanel("Panel4", viewPanel, {0, 8, 649, 313}, QFrame::Sunken);
    chart_ = new BarChart(chartFrame);
    chart_->setGeometry(1, 1, 647, 311);

    detailPanel_ = new DetailPanel(decimalSeparator_, viewPanel);
    detailPanel_->setGeometry(0, 336, 649, 161);

    QFrame* buttonBar = NewPanel("Panel3", viewPanel, {0, 504, 649, 41}, QFrame::Sunken);
    parts.ViewPanel = viewPanel;
    parts.ChartFrame = chartFrame;
    parts.Chart = chart_;
    parts.DetailPanel = detailPanel_;
    parts.ButtonBar = buttonBar;
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
        auto* button = new QPushButton(design.Text, buttonBar);
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

void MainWindow::StartWithOnlyOpenEnabled() {
    for (CommandButton button : {CommandButton::Read, CommandButton::Save,
                                 CommandButton::PrintChart, CommandButton::PrintReport}) {
        SetButtonEnabled(button, false);
    }
    records_->Clear();
    // The strength picture starts hidden (DetailPanel builds it so).
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

void MainWindow::ShowCaption() {
    const QString& path = records_->File();
    setWindowTitle(path.isEmpty()
                       ? ShownCaption()
                       : ShownCaption() + QStringLiteral(" - ") + QFileInfo(path).fileName());
}

const QString& MainWindow::CurrentFile() const {
    return records_->File();
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
    ReleaseTesterAndRecords();
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

void MainWindow::ClearRecords() {
    upload_->ClearRecords();
}

void MainWindow::ClearShownRecords() {
    chart_->Clear();
    shownReadings_.clear();
    ShowFeedback(QString());
}

void MainWindow::SetButtonEnabled(CommandButton button, bool enabled) {
    // While the tester refuses access, nothing (the end of an upload, an open) enables reading.
    if (button == CommandButton::Read && TesterAccessDenied())
        enabled = false;
    Button(button)->setEnabled(enabled);
}

}  // namespace leeb
