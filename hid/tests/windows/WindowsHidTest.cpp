// The Windows backend under conditions a stand-in can make: named pipes play the device
// (a pipe nobody reads from never takes a write; a pipe nobody writes to keeps a read
// pending), and notices are sent to the notice window as the system would send them.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h first
#include <dbt.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "DeviceNoticeWindow.h"
#include "Hid.h"
#include "SetupApi.h"
#include "WindowsHidPlatform.h"

namespace leeb::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr GUID HidClass = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
constexpr GUID OtherClass = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

// The server end of a named pipe that the backend opens as if it were a device path.
class PipeDevice {
  public:
    PipeDevice() {
        static std::atomic<int> serial{0};
        path = "\\\\.\\pipe\\leebdesk-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
               std::to_string(serial++);
        server = ::CreateNamedPipeA(path.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                    PIPE_TYPE_BYTE | PIPE_WAIT, 1, 64, 64, 0, nullptr);
    }
    ~PipeDevice() { ::CloseHandle(server); }
    PipeDevice(const PipeDevice&) = delete;
    PipeDevice& operator=(const PipeDevice&) = delete;

    // Sends bytes to the client, as a device sends an input report.
    void Send(const std::vector<uint8_t>& bytes) const {
        OVERLAPPED overlapped{};
        overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        DWORD n = 0;
        if (!::WriteFile(server, bytes.data(), static_cast<DWORD>(bytes.size()), nullptr,
                         &overlapped)) {
            ::GetOverlappedResult(server, &overlapped, &n, TRUE);
        }
        ::CloseHandle(overlapped.hEvent);
    }

    std::string path;
    HANDLE server;
};

std::chrono::milliseconds Since(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

TEST(WindowsHidHandle, AWriteTheDeviceNeverTakesTimesOutInsteadOfBlocking) {
    PipeDevice device;
    ASSERT_NE(device.server, INVALID_HANDLE_VALUE);
    WindowsHidPlatform platform(200ms);
    const auto handle = platform.Open(device.path, HidOpenMode::ReadWrite);
    ASSERT_TRUE(handle) << static_cast<int>(HidLastError().Error);

    const std::vector<uint8_t> report(9, 0xA8);
    uint32_t written = 0;
    EXPECT_TRUE(handle->Write(report.data(), 9, written)) << "the pipe takes a small report";
    EXPECT_EQ(written, 9u);

    // Far more than the pipe holds, and nobody reads: the write cannot complete.
    const std::vector<uint8_t> flood(4 << 20, 0x55);
    const auto start = Clock::now();
    EXPECT_FALSE(handle->Write(flood.data(), static_cast<uint32_t>(flood.size()), written));
    EXPECT_LT(Since(start), 3000ms);
    EXPECT_EQ(HidLastError().Error, HidError::TimedOut);
    EXPECT_EQ(written, 0u);
}

TEST(WindowsHidHandle, ReadsCompleteAreRefusedWhileOneIsOutAndCancelFromAnyThread) {
    PipeDevice device;
    WindowsHidPlatform platform;
    const auto handle = platform.Open(device.path, HidOpenMode::OverlappedRead);
    ASSERT_TRUE(handle);
    uint8_t buffer[9] = {};

    ASSERT_TRUE(handle->StartRead(buffer, sizeof buffer));
    EXPECT_EQ(handle->WaitRead(20), HidWaitResult::TimedOut);
    uint8_t other[9] = {};
    EXPECT_FALSE(handle->StartRead(other, sizeof other)) << "the record of the read in flight";
    EXPECT_EQ(HidLastError().Error, HidError::Busy);
    device.Send({0, 1, 2, 3, 4});
    EXPECT_EQ(handle->WaitRead(2000), HidWaitResult::Completed);
    EXPECT_EQ(handle->ReadResult(), 5u);
    EXPECT_EQ(buffer[4], 4);

    // A read started on one thread and cancelled from another ends at once; a report sent
    // later would end a cancel that only reached the calling thread's I/O.
    std::thread starter([&] { ASSERT_TRUE(handle->StartRead(buffer, sizeof buffer)); });
    starter.join();
    const HANDLE cancelled = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread rescue([&] {
        if (::WaitForSingleObject(cancelled, 3000) == WAIT_TIMEOUT) {
            device.Send({9});
        }
    });
    const auto start = Clock::now();
    EXPECT_TRUE(handle->CancelRead());
    EXPECT_LT(Since(start), 1000ms);
    ::SetEvent(cancelled);
    rescue.join();
    ::CloseHandle(cancelled);
}

TEST(WindowsHidHandle, AnInterruptWakesTheWaitingReader) {
    PipeDevice device;
    WindowsHidPlatform platform;
    const auto handle = platform.Open(device.path, HidOpenMode::OverlappedRead);
    ASSERT_TRUE(handle);
    uint8_t buffer[9] = {};
    ASSERT_TRUE(handle->StartRead(buffer, sizeof buffer));
    std::thread waker([&] {
        std::this_thread::sleep_for(50ms);
        handle->Interrupt();
    });
    EXPECT_EQ(handle->WaitRead(5000), HidWaitResult::Interrupted);
    waker.join();
    EXPECT_TRUE(handle->CancelRead());
}

// The read thread waits with no time-out: only a report or an interrupt ends the wait.
TEST(WindowsHidHandle, AWaitWithoutTimeOutEndsForAReportOrAnInterrupt) {
    PipeDevice device;
    WindowsHidPlatform platform;
    const auto handle = platform.Open(device.path, HidOpenMode::OverlappedRead);
    ASSERT_TRUE(handle);
    uint8_t buffer[9] = {};
    for (const bool report : {true, false}) {
        SCOPED_TRACE(report ? "report" : "interrupt");
        ASSERT_TRUE(handle->StartRead(buffer, sizeof buffer));
        std::thread waker([&] {
            std::this_thread::sleep_for(50ms);
            if (report) {
                device.Send({0, 7});
            } else {
                handle->Interrupt();
            }
        });
        EXPECT_EQ(handle->WaitRead(HidWaitForever),
                  report ? HidWaitResult::Completed : HidWaitResult::Interrupted);
        waker.join();
        if (report) {
            EXPECT_EQ(handle->ReadResult(), 2u);
        }
    }
    EXPECT_TRUE(handle->CancelRead());
}

TEST(WindowsHidHandle, OpeningWhatIsNotThereSaysSo) {
    WindowsHidPlatform platform;
    bool granted = false;
    EXPECT_FALSE(platform.OpenForIdentification("\\\\.\\pipe\\leebdesk-no-such-device", granted));
    EXPECT_EQ(HidLastError().Error, HidError::NotConnected);
}

TEST(WindowsHidErrors, SystemCodesReadInTheLayersWords) {
    const struct {
        DWORD code;
        HidError error;
    } cases[] = {
        {ERROR_DEVICE_NOT_CONNECTED, HidError::NotConnected},
        {ERROR_FILE_NOT_FOUND, HidError::NotConnected},
        {ERROR_ACCESS_DENIED, HidError::AccessDenied},
        {ERROR_SHARING_VIOLATION, HidError::AccessDenied},
        {ERROR_BUSY, HidError::Busy},
        {ERROR_TIMEOUT, HidError::TimedOut},
        {ERROR_INVALID_PARAMETER, HidError::Failed},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HidErrorFromOs(c.code), c.error) << c.code;
    }
    // The messages once read errno values as Windows codes ("Invalid data", "write
    // protected"); the layer's own words come first now, the system's follow.
    const std::string text = HidErrorText({HidError::AccessDenied, ERROR_ACCESS_DENIED});
    EXPECT_EQ(text.rfind("access to the device is denied (", 0), 0u) << text;
    EXPECT_EQ(HidErrorText({HidError::NotConnected, 0}), "the device is not connected");
}

// Notices sent to the notice window as the system sends them.
class NoticeWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.StartChangeNotification([this] { ++changes; });
        window = ::FindWindowW(DeviceNoticeWindow::ClassName, nullptr);
        ASSERT_NE(window, nullptr);
    }

    void SendInterfaceNotice(WPARAM event, const GUID& guid, const std::wstring& path) {
        std::vector<uint8_t> block(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) +
                                   path.size() * sizeof(wchar_t));
        auto* notice = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(block.data());
        notice->dbcc_size = static_cast<DWORD>(block.size());
        notice->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        notice->dbcc_classguid = guid;
        std::memcpy(notice->dbcc_name, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        ::SendMessageW(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(notice));
    }

    // Long enough for a coalesced call to have come.
    static void Settle() { std::this_thread::sleep_for(DeviceNoticeWindow::CoalesceTime * 4); }

    WindowsHidPlatform platform;
    std::atomic<int> changes{0};
    HWND window = nullptr;
};

TEST_F(NoticeWindowTest, ARemovalGivesTheInterfaceANewIdentityAndABurstOneCall) {
    const std::string path =
        "\\\\?\\HID#VID_1234&PID_5678#7&1&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    const std::wstring widePath(path.begin(), path.end());
    const std::string before = platform.IdentityOf(path);

    SendInterfaceNotice(DBT_DEVICEREMOVECOMPLETE, HidClass, widePath);
    for (int i = 0; i < 4; ++i) {
        SendInterfaceNotice(DBT_DEVICEARRIVAL, HidClass, widePath);
    }
    Settle();
    EXPECT_EQ(changes.load(), 1) << "five notices in a burst";
    const std::string after = platform.IdentityOf(path);
    EXPECT_NE(after, before) << "plugged back into the same port, it is a new device";
    std::string upper = path;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    EXPECT_EQ(platform.IdentityOf(upper), after) << "paths compare without case";

    SendInterfaceNotice(DBT_DEVICEREMOVECOMPLETE, OtherClass, widePath);
    Settle();
    EXPECT_EQ(changes.load(), 1) << "not a HID interface";
    EXPECT_EQ(platform.IdentityOf(path), after);
}

TEST_F(NoticeWindowTest, BroadcastsAreAnsweredWhileTheStartingThreadPumpsNothing) {
    // This thread blocks in join and runs no message loop, as the command-line upload does.
    std::chrono::milliseconds took{};
    std::thread other([&] {
        const auto start = Clock::now();
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0, SMTO_ABORTIFHUNG,
                              3000, &result);
        took = Since(start);
    });
    other.join();
    EXPECT_LT(took, 1000ms);
}

TEST_F(NoticeWindowTest, StopClosesTheWindowAndNoCallFollows) {
    const std::string path = "\\\\?\\HID#VID_1234&PID_5678#stop";
    SendInterfaceNotice(DBT_DEVICEARRIVAL, HidClass, std::wstring(path.begin(), path.end()));
    platform.StopChangeNotification();  // before the coalesced call was due
    EXPECT_EQ(::FindWindowW(DeviceNoticeWindow::ClassName, nullptr), nullptr)
        << "destroyed on its own thread";
    Settle();
    EXPECT_EQ(changes.load(), 0);
}

TEST(WindowsHidBinding, AFailedBindNamesTheMissingNameAndKeepsNoBinding) {
    WindowsHidPlatform platform(WindowsHidPlatform::DefaultWriteTimeout, "SetupApi.dll",
                                FAKE_HID_MISSING_CALLED);
    EXPECT_FALSE(platform.Bind());
    EXPECT_EQ(platform.BindProblem(), std::string(FAKE_HID_MISSING_CALLED) + " lacks HidP_GetCaps");
    EXPECT_EQ(SetupApiUseCount(), 0) << "the device-setup binding is given back";
    EXPECT_FALSE(SetupApiBound());
    EXPECT_TRUE(platform.Enumerate().empty());
}

TEST(WindowsHidBinding, TwoPlatformsInOneProcessDoNotUnbindEachOther) {
    WindowsHidPlatform first;
    WindowsHidPlatform second;
    ASSERT_TRUE(first.Bind()) << first.BindProblem();
    ASSERT_TRUE(second.Bind()) << second.BindProblem();
    first.Release();
    EXPECT_TRUE(HidBound());
    EXPECT_TRUE(SetupApiBound());
    EXPECT_NE(HidEntry("HidP_GetCaps"), nullptr);
    EXPECT_NO_FATAL_FAILURE(second.Enumerate());
    second.Release();
    EXPECT_FALSE(HidBound());
    EXPECT_FALSE(SetupApiBound());
    EXPECT_EQ(SetupApiUseCount(), 0);
}

}  // namespace
}  // namespace leeb::test
