#include "SystemHidPlatform.h"

#include "CliSupport.h"

#if LEEBDESK_CLI_SYSTEM_HID
#include "SystemHid.h"
#endif

namespace leeb::cli {

std::shared_ptr<HidPlatform> SystemHidPlatform() {
#if LEEBDESK_CLI_SYSTEM_HID
    // The change notification stays on: an unplugged tester then ends the upload at once
    // instead of after the reply time-out.
    return MakeSystemHidPlatform();
#else
    throw CliFailure(
        "此版本不能连接真实的里氏硬度计，只能用 --simulate。(This build has no HID backend; "
        "only --simulate is available.)");
#endif
}

}  // namespace leeb::cli
