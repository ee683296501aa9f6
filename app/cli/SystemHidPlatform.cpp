#include "SystemHidPlatform.h"

#include "CliLanguage.h"
#include "CliSupport.h"

#if LEEBDESK_CLI_HIDRAW
#include "LinuxHidPlatform.h"
#endif

namespace leeb::cli {

std::shared_ptr<HidPlatform> SystemHidPlatform() {
#if LEEBDESK_CLI_HIDRAW
    // The change monitor stays on: an unplugged tester then ends the upload at once instead
    // of after the reply time-out.
    return std::make_shared<LinuxHidPlatform>();
#else
    throw CliFailure(Say("此版本不能连接真实的里氏硬度计，只能用 --simulate。",
                         "This build has no HID backend; only --simulate is available."));
#endif
}

}  // namespace leeb::cli
