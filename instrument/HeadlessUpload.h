#pragma once
// An upload without a window: finds the tester through a HID controller, reads every record
// into RecordLines and returns them, pumping a ManualGuiDispatcher in place of an event loop.
// The calling thread plays the GUI thread; it sleeps in the dispatcher while the tester is
// silent.

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "RecordFile.h"
#include "RecordUpload.h"

namespace leeb {

class ManualGuiDispatcher;
class THidDeviceController;

// Why an upload could not be done, in Chinese with an English translation in brackets; the
// reason and the upload's own messages are kept apart too, for wording it in one language.
class HeadlessUploadError : public std::runtime_error {
  public:
    enum class Reason { NotConnected, AccessDenied, NoReply, Unplugged };

    HeadlessUploadError(Reason reason, const std::string& message,
                        std::vector<std::string> uploadMessages = {})
        : std::runtime_error(message),
          reason_(reason),
          uploadMessages_(std::move(uploadMessages)) {}

    Reason Why() const { return reason_; }
    // The message boxes the upload showed on the way (a failed write), as it worded them.
    const std::vector<std::string>& UploadMessages() const { return uploadMessages_; }

  private:
    Reason reason_;
    std::vector<std::string> uploadMessages_;
};

struct HeadlessUploadOptions {
    char DecimalSeparator = '.';
    // "r/Last" before record r is requested.
    std::function<void(const std::string&)> Progress;
    std::chrono::milliseconds ReplyTimeout{RecordUpload::ReplyTimeoutMs};
};

// `controller` must have been made with `dispatcher` and carry no handlers yet; they are set
// for the upload and removed again. The devices checked out are given back before returning.
// A tester holding no records gives the header line alone.
// Throws HeadlessUploadError when no tester is connected, access to it is denied, it does not
// reply or it is unplugged during the upload.
RecordLines HeadlessUpload(THidDeviceController& controller, ManualGuiDispatcher& dispatcher,
                           const HeadlessUploadOptions& options = {});

}  // namespace leeb
