#include "HeadlessPlatform.h"

namespace leeb::cli {

// The windows platform opens no window unless asked and is the one that knows the system's
// fonts; Qt's offscreen platform on Windows has no font database and would print blank pages.
void ChooseHeadlessPlatform() {}

}  // namespace leeb::cli
