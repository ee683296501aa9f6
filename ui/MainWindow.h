#pragma once
// The main window: it lays out the record tree, the bar chart, the detail panel with the lab's
// row, the five command buttons and the status bar, and wires the parts that do the work: the
// record set (the records and their file), the upload presenter (the tester and the upload)
// and the lab row (limits and verdicts). The command handlers are its own. Every handler runs
// on the GUI thread.

#include <QCoreApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QPushButton>
#include <QTreeView>
#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ArchiveRecord.h"
#include "ClientArea.h"
#include "DialogHost.h"
#include "RecordCsv.h"
#include "RecordFile.h"
#include "RecordSet.h"
#include "RecordView.h"
#include "UploadView.h"

class QAction;
class QPrinter;

namespace leeb {

class BarChart;
class DetailPanel;
class HidDevice;
class HidDeviceController;
class HidGuiDispatcher;
class HidPlatform;
class LabRow;
class LabSettings;
class RecordTreeModel;
class ReportSystem;
class UploadPresenter;

class MainWindow : public QMainWindow {
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

  public:
    static const QString Caption;  // "里氏硬度计  V1.02", the version from the build
    // The caption as the window shows it, in the interface language.
    static QString ShownCaption();

    // The HID backend and the GUI-thread hand-off come from the creator: the Linux backend
    // and the Qt dispatcher in the program, a simulated bus and a manual dispatcher in tests.
    // dialogs: null for Qt's own message boxes and file dialogs; must outlive the window.
    MainWindow(std::shared_ptr<HidPlatform> platform, std::shared_ptr<HidGuiDispatcher> dispatcher,
               DialogHost* dialogs = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The state the window starts in: no records, only the open command enabled.
    void StartWithOnlyOpenEnabled();
    // Stops any upload, gives the tester back and lets the records go; once, at the window's
    // close or end.
    void ReleaseTesterAndRecords();

    // Handlers.
    void ReadRecordsClicked();
    void SaveClicked();
    void PrintChartClicked();
    void PrintReportClicked();
    void PrintReportWithDetails();  // the report, its details asked first
    void OpenClicked();
    // "导出 CSV…" of the tree's context menu: the records shown as a CSV table, also after
    // they were saved (when the save button is disabled). Enabled while records are shown.
    void ExportCsvClicked();
    QAction* ExportCsvAction() const { return exportCsv_; }
    void AutoStartTimerFired();
    void RecordNodeChanging(const QModelIndex& node);
    // The lines were set directly (Lines()): the tree and the chart show them again.
    void RebuildRecordTree();

    // The open command without its dialog: a file named on the command line, dropped on the
    // window or chosen from the recent files goes the same way as one chosen in the dialog.
    void OpenRecordFile(const QString& path);

    // The record file the records came from or went to last; empty after an upload. The
    // caption names it after the design's caption.
    const QString& CurrentFile() const;
    // Told of every record file opened or saved (for the recent files).
    void SetFileListener(std::function<void(const QString& path)> listener) {
        fileListener_ = std::move(listener);
    }
    // Told of each record of an upload as it completes (its number and its line as the record
    // file holds it) and of the upload's end: for whoever keeps records beyond the window.
    struct UploadListener {
        // storedImpactCount: the tester's count of a damaged record, -1 for a sound one.
        std::function<void(int number, const std::string& line, int storedImpactCount)>
            RecordCompleted;
        std::function<void()> Ended;
    };
    void SetUploadListener(UploadListener listener) { uploadListener_ = std::move(listener); }
    // Told when the lab row's limits, exclusion or each-reading judging changed.
    void SetQualityListener(std::function<void()> listener) {
        qualityListener_ = std::move(listener);
    }
    // Records from the archive take the place of the ones shown, as an opened file's would,
    // after the question about unsaved records; they are in no file. A line that does not
    // convert throws before anything changes. Refused, and said, while the open button is
    // disabled (an upload runs).
    void ShowArchivedRecords(const std::vector<ArchivedRecord>& records);
    // The dialogs the window uses, for the parts installed beside it.
    DialogHost& Dialogs() { return dialogs_; }

    // The status bar's message panel, after the design's three: what the last command did.
    void ShowFeedback(const QString& text);
    // The read command found no tester plugged in: the message panel says so.
    void TellNoTester();
    QLabel* FeedbackPanel() const { return feedback_; }

    // The parts, for the commands and for checks.
    RecordSet& Records() { return *records_; }
    UploadPresenter& Upload() { return *upload_; }
    LabRow& LabControls() { return *labRow_; }

    // State, for the commands and for checks.
    const RecordLines& Lines() const;
    RecordLines& Lines();
    HidDevice* ActiveDevice() const;
    std::vector<HidDevice*> DeviceList() const;
    HidDeviceController& HidController();
    RecordTreeModel& TreeModel() { return *model_; }
    QTreeView* RecordTree() const { return recordTree_; }
    BarChart* Chart() const { return chart_; }
    QPushButton* Button(CommandButton button) const;
    QLabel* StatusPanel(int index) const {
        return statusPanels_.at(static_cast<std::size_t>(index));
    }
    bool UploadRunning() const;
    bool DeviceConnected() const;
    // Records of an upload are in the record set and have not been saved to a record file.
    bool RecordsUnsaved() const;
    // Every record read twice and compared (a third read settles a difference).
    void SetVerifiedUpload(bool verified);
    bool VerifiedUpload() const;
    // The tester is plugged in but its device could not be opened for reading and writing
    // (on Linux: the udev rule is missing). Reading is impossible until a replug grants it.
    bool TesterAccessDenied() const;
    static const QString AccessDeniedText;
    ReportSystem& Reports() { return *reports_; }
    // The printer the chart goes to; made on the first print unless one is handed in (tests
    // hand in a PDF printer so that nothing reaches paper).
    void UseChartPrinter(std::unique_ptr<QPrinter> printer);
    char DecimalSeparatorInUse() const { return decimalSeparator_; }

    // The lab's remembered limits, exclusion and report details; tests hand in their own.
    void UseLabSettings(std::unique_ptr<LabSettings> settings);
    LabSettings& Lab() { return *labSettings_; }
    // The records chosen in the tree (line indices, ascending); empty unless two or more.
    std::vector<std::size_t> SelectedRecordLines() const;
    static QString RecordListText(const std::vector<std::size_t>& lines);

    // The general error report: a failure that ended a command, shown with its text.
    void ReportError(const std::exception& error);
    // Runs a command; a failure goes to the error report and the program goes on.
    void RunCommand(const std::function<void()>& command);

    // What a new upload begins with: no records, an empty tree, chart and message.
    void ClearRecords();
    // While the tester refuses access, nothing enables reading.
    void SetButtonEnabled(CommandButton button, bool enabled);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls();
    QWidget* BuildRecordPanel();
    void BuildViewPanel(ClientArea::Parts& parts);
    void BuildStatusBar();
    void BuildLabRow();
    void WireRecordSet();
    void WireUpload();
    void ShowCaption();
    void ClearShownRecords();
    void ShowTesterAccess();
    // The record shown in the panel and the chart, judged by the lab row.
    void ShowRecordWithQuality(const RecordView& record);
    void QualityChanged();
    RecordCsvOptions CsvOptions() const;
    // Throws when there is no record file to write (no header in the lines).
    void RequireRecordLines() const;
    // The CSV table to path, as the save does for a .csv name; asks before replacing.
    void ExportCsvTo(const QString& path);
    // False when the file exists and the user would not have it replaced.
    bool MayReplaceFile(const QString& path);
    bool PrepareReportContent();  // false: the user cancelled the report
    // MainWindowPrinting.cpp
    void PrintReport(bool askDetails);
    void SaveChartInstead();  // no printer: the chart's page as a PDF file, if the user wants
    enum class RecordsReplacedBy { Close, Open, Upload };
    // Before closing, opening or uploading: true when the records may be replaced, after the
    // user was asked 保存 / 不保存 / 取消 about unsaved records (and saved them when asked to).
    bool MayReplaceRecords(RecordsReplacedBy by);
    void ShowOpenRefusal(const QString& path, const RecordFileError& error);
    // After an open (file empty: from elsewhere): the records shown, record 1 chosen, the
    // buttons enabled.
    void ShowOpenedRecords(RecordSet::Contents contents, const QString& file);

    std::unique_ptr<DialogHost> ownDialogs_;
    DialogHost& dialogs_;
    char decimalSeparator_;
    std::unique_ptr<RecordSet> records_;
    bool closed_ = false;
    bool askingUnsaved_ = false;
    // A start of the upload came while the question was open; it is made again afterwards.
    bool startAfterQuestion_ = false;
    bool placedOnScreen_ = false;
    std::function<void(const QString&)> fileListener_;
    UploadListener uploadListener_;
    std::function<void()> qualityListener_;

    std::unique_ptr<RecordTreeModel> model_;
    QTreeView* recordTree_ = nullptr;
    QAction* exportCsv_ = nullptr;
    BarChart* chart_ = nullptr;
    DetailPanel* detailPanel_ = nullptr;
    LabRow* labRow_ = nullptr;
    std::array<QPushButton*, 5> buttons_{};  // indexed by CommandButton
    std::array<QLabel*, 3> statusPanels_{};
    QLabel* feedback_ = nullptr;

    std::unique_ptr<UploadPresenter> upload_;
    std::unique_ptr<ReportSystem> reports_;
    std::unique_ptr<QPrinter> printer_;  // the current printer, made when first used
    std::unique_ptr<LabSettings> labSettings_;
    std::optional<RecordView> shownView_;
    std::vector<double> shownReadings_;  // the readings of the record in the panel and chart
};

}  // namespace leeb
