#pragma once
// Failures of a report or printout run.

#include <stdexcept>

namespace leeb {

// The user pressed Cancel while pages were being generated: the run ends silently.
class ReportCancelled : public std::exception {
  public:
    const char* what() const noexcept override { return "The report was cancelled."; }
};

// The output could not be produced (printer or file unusable); the message says why.
class ReportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace leeb
