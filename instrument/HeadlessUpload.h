#pragma once
// An upload without a window: finds the tester through a HID controller, reads every record
// into RecordLines and returns them, pumping a ManualGuiDispatcher in place of an event loop.
// The calling thread plays the GUI thread; it sleeps in the dispatcher while the tester is
// silent.

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>

#include "RecordFile.h"
#include "RecordUpload.h"

namespace leeb {

class ManualGuiDispatcher;
class THidDeviceController;

// Why an upload could not be done, in Chinese with an English translation in brackets.
class HeadlessUploadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
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
