#include "SystemHid.h"
#include "WindowsHidPlatform.h"

namespace leeb {

std::shared_ptr<HidPlatform> MakeSystemHidPlatform() {
    return std::make_shared<WindowsHidPlatform>();
}

}  // namespace leeb
