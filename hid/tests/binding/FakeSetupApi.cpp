// Stands in for the device-setup library: every bound name as an empty function. Built a
// second time with one name renamed (-D<name>=<other>) to leave that name out.
#define LEEB_EXPORT extern "C" __attribute__((visibility("default")))
#define LEEB_SETUPAPI_AW(name)    \
    LEEB_EXPORT void name##A() {} \
    LEEB_EXPORT void name##W() {}
#define LEEB_SETUPAPI_ONE(name) \
    LEEB_EXPORT void name() {}
#include "SetupApiNames.inc"
