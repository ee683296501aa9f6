// The run-time binding of the device-setup and HID libraries, against small shared libraries
// built for the test: the use counts, failed loads, and which missing names matter.
#include <gtest/gtest.h>

#include <string>

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
        while (HidUseCount() > 0) {
            ReleaseHid();
        }
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

TEST_F(BindingTest, OnlyTheNamesCalledDecideAndAMissingOneIsNamed) {
    struct Case {
        const char* library;
        bool (*bind)(const char*);
        bool (*bound)();
        std::string (*problem)();
        EntryPoint (*entry)(std::string_view);
        const char* absent;
        bool binds;
    };
    const Case cases[] = {
        {FAKE_SETUPAPI_MISSING_CALLED, &BindSetupApi, &SetupApiBound, &SetupApiBindProblem,
         &SetupApiEntry, "SetupDiEnumDeviceInterfaces", false},
        {FAKE_HID_MISSING_CALLED, &BindHid, &HidBound, &HidBindProblem, &HidEntry, "HidP_GetCaps",
         false},
        {FAKE_SETUPAPI_MISSING_OTHER, &BindSetupApi, &SetupApiBound, &SetupApiBindProblem,
         &SetupApiEntry, "SetupOpenMasterInf", true},
        {FAKE_HID_MISSING_OTHER, &BindHid, &HidBound, &HidBindProblem, &HidEntry, "HidD_Hello",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.library);
        EXPECT_EQ(c.bind(c.library), c.binds);
        EXPECT_EQ(c.bound(), c.binds);
        EXPECT_EQ(c.entry(c.absent), nullptr);
        if (c.binds) {
            EXPECT_EQ(c.problem(), "");
            ReleaseSetupApi();
            ReleaseHid();
        } else {
            EXPECT_EQ(c.problem(), std::string(c.library) + " lacks " + c.absent);
        }
    }
    EXPECT_EQ(SetupApiUseCount(), 0);
    EXPECT_EQ(HidUseCount(), 0);
}

TEST_F(BindingTest, ALibraryThatCannotBeLoadedIsNamed) {
    EXPECT_FALSE(BindHid("/nonexistent/hid-library"));
    EXPECT_EQ(HidBindProblem().rfind("/nonexistent/hid-library cannot be loaded: ", 0), 0u)
        << HidBindProblem();
    EXPECT_EQ(HidUseCount(), 0) << "the next bind tries again";
    ASSERT_TRUE(BindHid(FAKE_HID));
    EXPECT_EQ(HidBindProblem(), "");
}

TEST_F(BindingTest, EveryHidBindNeedsItsRelease) {
    // Two users in one process: the first to let go must not unbind the other.
    ASSERT_TRUE(BindHid(FAKE_HID));
    ASSERT_TRUE(BindHid("/nonexistent/hid-library")) << "already bound: only counts";
    EXPECT_NE(HidEntry("HidP_GetCaps"), nullptr);
    EXPECT_EQ(HidSecondEntry("HidP_GetUsages"), HidEntry("HidP_GetUsages"));
    EXPECT_EQ(HidSecondEntry("HidP_GetCaps"), nullptr);
    ReleaseHid();
    EXPECT_TRUE(HidBound());
    EXPECT_NE(HidEntry("HidP_GetCaps"), nullptr);
    ReleaseHid();
    EXPECT_FALSE(HidBound());
    EXPECT_EQ(HidEntry("HidP_GetCaps"), nullptr);
    EXPECT_EQ(HidUseCount(), 0);
}

}  // namespace
}  // namespace leeb::test
