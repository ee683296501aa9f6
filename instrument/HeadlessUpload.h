#pragma once
// An upload without a window: finds the tester through a HID controller, reads every record
// into RecordLines and returns them, pumping a ManualGuiDispatcher in place of an event loop.
// The calling thread plays the GUI thread; it sleeps in the dispatcher while the tester is
// silent.

#include <chrono>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "RecordFile.h"
#include "RecordUpload.h"
#include "UploadProtocolError.h"

namespace leeb {

class ManualGuiDispatcher;
class HidDeviceController;

// Why an upload could not be started, in Chinese with an English translation in brackets.
class HeadlessUploadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct HeadlessUploadOptions {
    char DecimalSeparator = '.';
    // "r/Last" before record r is requested.
    std::function<void(const std::string&)> Progress;
    std::chrono::milliseconds ReplyTimeout{RecordUpload::ReplyTimeoutMs};
    // Every record read twice and compared.
    bool Verified = false;
    // Each record as it completes, before the next is asked for (to keep it somewhere safe
    // while the upload goes on).
    std::function<void(const UploadView::AppendedRecord&)> RecordCompleted;
};

struct HeadlessUploadResult {
    // The header and every record completed, also when the upload stopped early.
    RecordLines Lines;
    // The tester's own number of the record on line r at RecordNumbers[r - 1], as the window's
    // tree names it.
    std::vector<long> RecordNumbers;
    // Complete, NoData, or why it stopped early: TimedOut, Unplugged or ProtocolError.
    UploadOutcome Outcome = UploadOutcome::None;
    // How many records the tester's first reply named; 0 when none came.
    int RecordsNamed = 0;
    // What the tester sent wrong, with ProtocolError.
    std::optional<UploadProtocolError> Error;
    // What happened on the way (a failed write, a record left out), in order.
    std::vector<UploadNotice> Notices;
    // Records kept marked damaged: the tester stores an impact count outside 1..32.
    std::vector<DamagedRecord> Damaged;

    int RecordsRead() const { return Lines.empty() ? 0 : static_cast<int>(Lines.size() - 1); }
    bool Interrupted() const {
        return Outcome == UploadOutcome::TimedOut || Outcome == UploadOutcome::Unplugged ||
               Outcome == UploadOutcome::ProtocolError;
    }
};

// `controller` must have been made with `dispatcher` and carry no handlers yet; they are set
// for the upload and removed again. The devices checked out are given back before returning.
// A tester holding no records gives the header line alone.
// Throws HeadlessUploadError when no tester is connected or access to it is denied; an upload
// that starts returns what it read, however it ended.
HeadlessUploadResult HeadlessUpload(HidDeviceController& controller,
                                    ManualGuiDispatcher& dispatcher,
                                    const HeadlessUploadOptions& options = {});

}  // namespace leeb
