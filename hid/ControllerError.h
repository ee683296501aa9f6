#pragma once
// Failing to open or identify a HID device while the controller builds its device object.

#include <stdexcept>
#include <string>

namespace leeb {

class ControllerError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace leeb
