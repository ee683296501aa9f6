#pragma once
// A MainWindow on the simulated HID bus with a manual GUI-thread hand-off and scripted dialogs.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <memory>

#include "ManualGuiDispatcher.h"
#include "RecordTreeModel.h"
#include "ScriptedDialogHost.h"
#include "SimulatedHidBus.h"
#include "TesterSimulator.h"
#include "MainWindow.h"
#include "UploadPresenter.h"

namespace leeb {

class WindowTest : public ::testing::Test {
  protected:
    static constexpr uint16_t TesterVendor = 0x1234;
    static constexpr uint16_t TesterProduct = 0x5678;

    std::shared_ptr<SimulatedHidBus> bus = std::make_shared<SimulatedHidBus>();
    std::shared_ptr<ManualGuiDispatcher> dispatcher = std::make_shared<ManualGuiDispatcher>();
    ScriptedDialogHost dialogs;
    std::unique_ptr<MainWindow> form = std::make_unique<MainWindow>(bus, dispatcher, &dialogs);

    void TearDown() override { form.reset(); }

    // Runs what the read threads and the controller handed to the GUI thread, then Qt's own
    // events (timers, deferred layout).
    void Pump() {
        dispatcher->ProcessPending();
        QCoreApplication::processEvents();
    }

    // Records 1..count for the simulated tester: three readings each, all of one day.
    static SimulatorRecordSet Records(int count);

    SimulatedDeviceId PlugTester(const std::string& identity) {
        return bus->Plug(identity, TesterVendor, TesterProduct, 0x0102, 65, 65);
    }

    QString Text(const char* name) const {
        const QLabel* label = form->findChild<QLabel*>(QString::fromLatin1(name));
        return label == nullptr ? QStringLiteral("<missing %1>").arg(name) : label->text();
    }
    // The spread of the record shown as one line: a row too narrow for it puts the count of
    // valid readings on a second line.
    QString SpreadText() const {
        return Text("Spread").replace(QLatin1Char('\n'), QStringLiteral("  "));
    }
    const QLabel* Picture(const char* name) const {
        return form->findChild<QLabel*>(QString::fromLatin1(name));
    }

    // Enabled states of read, save, print chart, print report, open, as "10001".
    std::string ButtonStates() const {
        std::string states;
        for (CommandButton b : {CommandButton::Read, CommandButton::Save, CommandButton::PrintChart,
                                CommandButton::PrintReport, CommandButton::Open}) {
            states += form->Button(b)->isEnabled() ? '1' : '0';
        }
        return states;
    }

    QStringList TreeTexts(const QModelIndex& parent = {}) const {
        QStringList texts;
        const RecordTreeModel& model = form->TreeModel();
        for (int row = 0; row < model.rowCount(parent); ++row) {
            texts << model.index(row, 0, parent).data().toString();
        }
        return texts;
    }

    std::vector<double> ChartValues() const;

    // As the upload tells the window of a record whose line is already in Lines().
    void AppendUploaded(int recordNumber, int lineIndex) {
        const MeasurementRecord raw{};
        const RecordTextFields fields = ParseRecordLine(
            form->Lines()[static_cast<std::size_t>(lineIndex)], form->DecimalSeparatorInUse());
        form->Upload().RecordAppended({recordNumber, lineIndex, raw, fields});
    }

    void SelectRecord(int row) {
        form->RecordTree()->setCurrentIndex(form->TreeModel().RecordIndex(row));
    }
};

}  // namespace leeb
