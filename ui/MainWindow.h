#pragma once
// The main window: record tree, bar chart, detail panel, the five command buttons and the
// status bar; owner of the HID device controller, the connection watcher, the upload and
// RecordLines. Every handler runs on the GUI thread.

#include <QCoreApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ClientArea.h"
#include "DialogHost.h"
#include "RecordCsv.h"
#include "RecordFile.h"
#include "RecordView.h"
#include "UploadView.h"

class QCheckBox;
class QLineEdit;
class QPrinter;

namespace leeb {

class BarChart;
class ConnectionWatcher;
class DetailPanel;
class HidGuiDispatcher;
class HidPlatform;
class LabSettings;
class RecordTreeModel;
struct RecordFileProblem;
class RecordUpload;
class ReportSystem;
class HidDevice;
class HidDeviceController;

class MainWindow : public QMainWindow, public UploadView, public UploadDevice {
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

    // Handlers.
    void FormCreate();
    void FormClose();
    void ReadRecordsClicked();
    void SaveClicked();
    void PrintChartClicked();
    void PrintReportClicked();
    void OpenClicked();
    void AutoStartTimerFired();
    void RecordNodeChanging(const QModelIndex& node);
    void DevicesChanged(HidDeviceController* sender);
    bool CheckOutEnumeratedDevice(HidDevice* hidDev, int32_t idx);
    void ControllerReportReceived(HidDevice* hidDev, uint8_t reportId, const uint8_t* data,
                                        uint16_t size);
    void RebuildRecordTree();

    // The open command without its dialog: a file named on the command line, dropped on the
    // window or chosen from the recent files goes the same way as one chosen in the dialog.
    void OpenRecordFile(const QString& path);

    // The record file the records came from or went to last; empty after an upload. The
    // caption names it after the design's caption.
    const QString& CurrentFile() const { return currentFile_; }
    // Told of every record file opened or saved (for the recent files).
    void SetFileListener(std::function<void(const QString& path)> listener) {
        fileListener_ = std::move(listener);
    }
    // The status bar's message panel, after the design's three: what the last command did.
    void ShowFeedback(const QString& text);
    QLabel* FeedbackPanel() const { return feedback_; }

    // State, for the commands and for checks.
    const RecordLines& Lines() const { return recordLines_; }
    RecordLines& Lines() { return recordLines_; }
    HidDevice* ActiveDevice() const;
    const std::vector<HidDevice*>& DeviceList() const;
    HidDeviceController& HidController() { return *controller_; }
    RecordTreeModel& TreeModel() { return *model_; }
    QTreeView* RecordTree() const { return recordTree_; }
    BarChart* Chart() const { return chart_; }
    QPushButton* Button(CommandButton button) const;
    QLabel* StatusPanel(int index) const {
        return statusPanels_.at(static_cast<std::size_t>(index));
    }
    bool UploadRunning() const;
    // Records of an upload are in RecordLines and have not been saved to a record file since.
    bool RecordsUnsaved() const { return recordsUnsaved_; }
    // The tester is plugged in but its device could not be opened for reading and writing
    // (on Linux: the udev rule is missing). Reading is impossible until a replug grants it.
    bool TesterAccessDenied() const { return accessDenied_; }
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

    // UploadView.
    void ClearRecords() override;
    void RecordAppended(const AppendedRecord& record) override;
    void AddBar(int x, double y) override;
    void ShowRecordDetails(const RecordView& record) override;
    void SetButtonEnabled(CommandButton button, bool enabled) override;
    void SetProgress(const std::string& text) override;
    bool AutoStartArmed() const override;
    void ArmAutoStart() override;
    void StartReplyTimer(int milliseconds) override;
    void CancelReplyTimer() override;
    void Notify(const UploadNotice& notice) override;

    // UploadDevice: the connection watcher's active device, when it may be read and written.
    bool DeviceConnected() const override;
    std::size_t OutputReportByteLength() const override;
    std::size_t InputReportByteLength() const override;
    bool WriteReport(const std::vector<uint8_t>& report) override;
    void AssignUploadHandler() override;
    void UploadEnded(UploadOutcome outcome) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls();
    QWidget* BuildRecordPanel();
    void BuildViewPanel(ClientArea::Parts& parts);
    void BuildStatusBar();
    void LoadImageList();
    void CreateHidController(std::shared_ptr<HidPlatform> platform,
                             std::shared_ptr<HidGuiDispatcher> dispatcher);
    void ReleaseDevices();
    // The record number of each record line (index 0 for line 1), as the tree names it.
    std::vector<long> RecordNumbersByLine() const;
    void SetStatusText(const std::string& text);
    void SetCurrentFile(const QString& path);
    void SetReadEnabledByWatcher(bool enabled);
    void ShowTesterAccess();
    void UploadDataReceived(HidDevice* hidDev, uint8_t reportId, const uint8_t* data,
                            uint16_t size);
    // MainWindowQuality.cpp
    void BuildQualityControls();
    void ShowRecordWithQuality(const RecordView& record);
    void LimitsEdited();
    void ShowSpread(const QString& spread, const QString& used);
    void QualityChanged();
    RecordCsvOptions CsvOptions() const;
    bool PrepareReportContent();  // false: the user cancelled the report
    enum class RecordsReplacedBy { Close, Open, Upload };
    // Before closing, opening or uploading: true when RecordLines may be replaced, after the
    // user was asked 保存 / 不保存 / 取消 about unsaved records (and saved them when asked to).
    bool MayReplaceRecords(RecordsReplacedBy by);
    void ShowOpenProblem(const QString& path, const RecordFileProblem& problem);

    std::unique_ptr<DialogHost> ownDialogs_;
    DialogHost& dialogs_;
    char decimalSeparator_;
    RecordLines recordLines_;
    bool closed_ = false;
    bool recordsUnsaved_ = false;
    bool askingUnsaved_ = false;
    // A start of the upload came while the question was open; it is made again afterwards.
    bool startAfterQuestion_ = false;
    bool accessDenied_ = false;
    bool placedOnScreen_ = false;
    QString currentFile_;
    std::function<void(const QString&)> fileListener_;

    std::vector<QPixmap> pictograms_;
    std::unique_ptr<RecordTreeModel> model_;
    QTreeView* recordTree_ = nullptr;
    BarChart* chart_ = nullptr;
    DetailPanel* detailPanel_ = nullptr;
    std::array<QPushButton*, 5> buttons_{};  // indexed by CommandButton
    std::array<QLabel*, 3> statusPanels_{};
    QLabel* feedback_ = nullptr;
    QTimer autoStartTimer_;
    QTimer replyTimer_;

    std::unique_ptr<HidDeviceController> controller_;
    std::unique_ptr<ConnectionWatcher> watcher_;
    std::unique_ptr<RecordUpload> upload_;
    std::unique_ptr<ReportSystem> reports_;
    std::unique_ptr<QPrinter> printer_;  // the current printer, made when first used

    std::unique_ptr<LabSettings> labSettings_;
    QLineEdit* lowerEdit_ = nullptr;
    QLineEdit* upperEdit_ = nullptr;
    QCheckBox* excludeBox_ = nullptr;
    QCheckBox* rejectBox_ = nullptr;
    QLabel* spreadLabel_ = nullptr;
    QLabel* verdictLabel_ = nullptr;
    std::optional<RecordView> shownView_;
    std::string shownScaleKey_;
    std::vector<double> shownReadings_;  // the readings of the record in the panel and chart
};

}  // namespace leeb
