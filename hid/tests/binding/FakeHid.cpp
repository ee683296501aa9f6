// Stands in for the HID class library; built a second time with one name renamed away.
#define LEEB_EXPORT extern "C" __attribute__((visibility("default")))
#define LEEB_HID_ONE(name) \
    LEEB_EXPORT void name() {}
#define LEEB_HID_TWO(name) \
    LEEB_EXPORT void name() {}
#include "HidNames.inc"
