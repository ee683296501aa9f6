#include "LinuxHidPlatform.h"
#include "SystemHid.h"

namespace leeb {

std::shared_ptr<HidPlatform> MakeSystemHidPlatform() {
    return std::make_shared<LinuxHidPlatform>();
}

}  // namespace leeb
