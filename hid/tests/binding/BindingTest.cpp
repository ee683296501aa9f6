// The run-time binding of the device-setup and HID libraries, against small shared libraries
// built for the test: the use count, failed loads, and the all-or-nothing rule.
#include <gtest/gtest.h>

#include "Hid.h"
#include "ModuleLoader.h"
#include "SetupApi.h"

namespace leeb::test {
namespace {

class BindingTest : public ::testing::Test {
  protected:
    void TearDown() override {
        while (SetupApiUseCount() > 0) {
            ReleaseSetupApi();
        }
        ReleaseHid();
    }
};

TEST_F(BindingTest, ModuleLoaderKeepsALoadedHandleAndAccumulatesMisses) {
    ModuleHandle handle = nullptr;
    EXPECT_FALSE(ModuleOpen(handle, "/nonexistent/library.so"));
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(ModuleSymbol(handle, "HidD_Hello"), nullptr);

    ASSERT_TRUE(ModuleOpen(handle, FAKE_HID));
    const ModuleHandle loaded = handle;
    EXPECT_TRUE(ModuleOpen(handle, "/nonexistent/library.so")) << "not loaded again";
    EXPECT_EQ(handle, loaded);

    bool allFound = true;
    EXPECT_NE(ModuleSymbolChecked(handle, "HidD_Hello", allFound), nullptr);
    EXPECT_TRUE(allFound);
    EXPECT_EQ(ModuleSymbolChecked(handle, "NoSuchName", allFound), nullptr);
    EXPECT_FALSE(allFound);
    EXPECT_NE(ModuleSymbolChecked(handle, "HidP_GetCaps", allFound), nullptr);
    EXPECT_FALSE(allFound) << "never set back to true";

    ModuleClose(handle);
    EXPECT_EQ(handle, nullptr);
    ModuleClose(handle);  // closing an empty handle does nothing
}

TEST_F(BindingTest, SetupApiIsFreedOnlyWhenTheUseCountFallsToZero) {
    EXPECT_FALSE(BindSetupApi("/nonexistent/setupapi.so"));
    EXPECT_EQ(SetupApiUseCount(), 0) << "a failed load leaves the count";
    EXPECT_FALSE(SetupApiBound());

    ASSERT_TRUE(BindSetupApi(FAKE_SETUPAPI));
    EXPECT_TRUE(BindSetupApi("/nonexistent/setupapi.so")) << "already bound: only counts";
    EXPECT_EQ(SetupApiUseCount(), 2);
    EXPECT_NE(SetupApiEntry("SetupDiGetClassDevs"), nullptr);
    EXPECT_EQ(SetupApiEntry("SetupDiGetClassDevs"), SetupApiEntry("SetupDiGetClassDevsA"));
    EXPECT_NE(SetupApiEntry("SetupDiGetClassDevsW"), nullptr);
    EXPECT_NE(SetupApiEntry("SetupDiDestroyDeviceInfoList"), nullptr);
    EXPECT_EQ(SetupApiEntry("SetupDiDestroyDeviceInfoListA"), nullptr) << "one form only";

    ReleaseSetupApi();
    EXPECT_TRUE(SetupApiBound());
    EXPECT_NE(SetupApiEntry("SetupDiEnumDeviceInterfaces"), nullptr);
    ReleaseSetupApi();
    EXPECT_FALSE(SetupApiBound());
    EXPECT_EQ(SetupApiEntry("SetupDiEnumDeviceInterfaces"), nullptr);
    EXPECT_EQ(SetupApiUseCount(), 0);
}

TEST_F(BindingTest, OneMissingNameLeavesTheLibraryUnbound) {
    struct Case {
        const char* library;
        bool (*bind)(const char*);
        bool (*bound)();
        const char* present;
    };
    const Case cases[] = {
        {FAKE_SETUPAPI_MISSING_ONE, &BindSetupApi, &SetupApiBound, "SetupDiGetClassDevsA"},
        {FAKE_HID_MISSING_ONE, &BindHid, &HidBound, "HidD_GetAttributes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.library);
        EXPECT_FALSE(c.bind(c.library));
        EXPECT_FALSE(c.bound());
        EXPECT_EQ(SetupApiEntry(c.present), nullptr);
        EXPECT_EQ(HidEntry(c.present), nullptr);
    }
    EXPECT_EQ(SetupApiUseCount(), 0);
}

TEST_F(BindingTest, HidIsUnboundByTheFirstReleaseWhateverTheBinds) {
    ASSERT_TRUE(BindHid(FAKE_HID));
    ASSERT_TRUE(BindHid(FAKE_HID));
    EXPECT_TRUE(HidBound());
    EXPECT_NE(HidEntry("HidP_GetCaps"), nullptr);
    EXPECT_EQ(HidSecondEntry("HidP_GetUsages"), HidEntry("HidP_GetUsages"));
    EXPECT_EQ(HidSecondEntry("HidP_GetCaps"), nullptr);
    ReleaseHid();
    EXPECT_FALSE(HidBound());
    EXPECT_EQ(HidEntry("HidP_GetCaps"), nullptr);
}

}  // namespace
}  // namespace leeb::test
