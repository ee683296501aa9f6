// The window's side of the upload: the presenter's hooks into the window's widgets, the read
// command and the automatic start.

#include "BarChart.h"
#include "DetailPanel.h"
#include "HidDevice.h"
#include "MainWindow.h"
#include "RecordSet.h"
#include "UploadPresenter.h"

namespace leeb {

void MainWindow::WireUpload() {
    UploadPresenter::WindowHooks hooks;
    hooks.RecordsCleared = [this] { ClearShownRecords(); };
    hooks.BarAdded = [this](int x, double y) {
        chart_->AddPoint(x, y);
        shownReadings_.push_back(y);
    };
    hooks.RecordShown = [this](const RecordView& record) {
        // The upload shows the record numbered 1 and no other; the record number says so.
        detailPanel_->SetRecordNumberText(QStringLiteral("1"));
        ShowRecordWithQuality(record);
    };
    hooks.SetButtonEnabled = [this](CommandButton button, bool enabled) {
        SetButtonEnabled(button, enabled);
    };
    hooks.ShowProgress = [this](const std::string& text) {
        StatusPanel(0)->setText(QString::fromStdString(text));
    };
    hooks.ShowConnection = [this](const std::string& text) {
        // The watcher's texts are translated here, under its name.
        StatusPanel(1)->setText(QCoreApplication::translate("ConnectionWatcher", text.c_str()));
    };
    hooks.AccessChanged = [this] { ShowTesterAccess(); };
    hooks.StartRequested = [this] { RunCommand([this] { AutoStartTimerFired(); }); };
    hooks.RunCommand = [this](const std::function<void()>& step) { RunCommand(step); };
    hooks.RecordCompleted = [this](const UploadView::AppendedRecord& record) {
        if (uploadListener_.RecordCompleted)
            uploadListener_.RecordCompleted(record.Number,
                                            Lines()[static_cast<std::size_t>(record.LineIndex)],
                                            record.Damaged ? record.StoredImpactCount : -1);
    };
    hooks.Ended = [this](UploadOutcome) {
        if (uploadListener_.Ended)
            uploadListener_.Ended();
        // The progress counter is gone; the count of what arrived stays.
        if (!Lines().empty()) {
            ShowFeedback(QCoreApplication::translate("MainWindow", "已读入 %1 条记录")
                             .arg(Lines().size() - 1));
        }
    };
    upload_->SetHooks(std::move(hooks));
}

void MainWindow::ReleaseTesterAndRecords() {
    if (closed_)
        return;
    closed_ = true;
    if (upload_)
        upload_->Close();
    records_->Clear();
}

HidDevice* MainWindow::ActiveDevice() const {
    return upload_->ActiveDevice();
}

std::vector<HidDevice*> MainWindow::DeviceList() const {
    return upload_->DeviceList();
}

HidDeviceController& MainWindow::HidController() {
    return upload_->Controller();
}

bool MainWindow::UploadRunning() const {
    return upload_ && upload_->Running();
}

void MainWindow::SetVerifiedUpload(bool verified) {
    upload_->SetVerified(verified);
}

bool MainWindow::VerifiedUpload() const {
    return upload_->Verified();
}

bool MainWindow::DeviceConnected() const {
    return upload_->DeviceConnected();
}

bool MainWindow::TesterAccessDenied() const {
    return upload_ && upload_->AccessDenied();
}

void MainWindow::ShowTesterAccess() {
    const QString text =
        TesterAccessDenied() ? tr(AccessDeniedText.toUtf8().constData()) : QString();
    StatusPanel(2)->setText(text);
    StatusPanel(2)->setToolTip(text);
}

void MainWindow::ReadRecordsClicked() {
    // Also the automatic start: no upload against a tester that cannot be written to.
    if (closed_ || TesterAccessDenied() || UploadRunning())
        return;
    if (askingUnsaved_) {
        // The question is open (a message box's loop runs this): the start waits for it.
        startAfterQuestion_ = true;
        return;
    }
    // Without a tester the upload touches no record, so there is nothing to ask; the button
    // is enabled after an open, and a press that does nothing must say why.
    if (!DeviceConnected())
        TellNoTester();
    else if (!MayReplaceRecords(RecordsReplacedBy::Upload))
        return;
    if (!closed_)
        upload_->Start();
}

void MainWindow::TellNoTester() {
    if (ActiveDevice() == nullptr)
        ShowFeedback(tr("未连接硬度计"));
}

void MainWindow::AutoStartTimerFired() {
    upload_->CancelAutoStart();
    ReadRecordsClicked();
}

}  // namespace leeb
