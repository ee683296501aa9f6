// The kernel uevent source: which messages count as a change of the hidraw nodes, and a change
// travelling from the socket through the monitor's thread into the GUI queue.
#include <gtest/gtest.h>
#include <linux/netlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "FakeHidrawTree.h"
#include "HidChangeMonitor.h"
#include "HidTestSupport.h"
#include "LinuxHidPlatform.h"

namespace leeb::test {
namespace {

using namespace std::string_literals;

// A uevent socket, closed with the object; `group` 0 hears unicast messages only.
class UeventSocket {
  public:
    explicit UeventSocket(uint32_t group, int receiveBuffer = 0) {
        fd_ =
            ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_KOBJECT_UEVENT);
        if (fd_ < 0) {
            return;
        }
        if (receiveBuffer > 0) {
            ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        }
        sockaddr_nl address{};
        address.nl_family = AF_NETLINK;
        address.nl_groups = group;
        socklen_t length = sizeof address;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) < 0) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
        portId_ = address.nl_pid;
    }
    ~UeventSocket() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    UeventSocket(const UeventSocket&) = delete;
    UeventSocket& operator=(const UeventSocket&) = delete;

    bool Open() const { return fd_ >= 0; }
    int Fd() const { return fd_; }

    // To one socket (`port`) or to a multicast group.
    bool SendTo(uint32_t port, uint32_t group, const std::string& message) const {
        sockaddr_nl to{};
        to.nl_family = AF_NETLINK;
        to.nl_pid = port;
        to.nl_groups = group;
        return ::sendto(fd_, message.data(), message.size(), 0, reinterpret_cast<sockaddr*>(&to),
                        sizeof to) == static_cast<ssize_t>(message.size());
    }
    uint32_t PortId() const { return portId_; }

  private:
    int fd_ = -1;
    uint32_t portId_ = 0;
};

#define SKIP_WITHOUT_UEVENT_SOCKET(socket)                                                   \
    if (!(socket).Open()) {                                                                  \
        GTEST_SKIP() << "the kernel uevent netlink socket cannot be opened here: " << errno; \
    }

TEST(KernelUeventTest, OnlyHidrawMessagesOrLostOnesCountAsAChange) {
    UeventSocket receiver(0);
    UeventSocket sender(0);
    SKIP_WITHOUT_UEVENT_SOCKET(receiver);
    ASSERT_TRUE(sender.Open());
    struct Case {
        const char* name;
        std::string message;
        bool change;
    };
    const Case cases[] = {
        {"hidraw add", "add@/devices/x/hidraw/hidraw3\0ACTION=add\0SUBSYSTEM=hidraw\0"s, true},
        {"hidraw remove, last field unterminated",
         "remove@/devices/x/hidraw/hidraw3\0ACTION=remove\0SUBSYSTEM=hidraw"s, true},
        {"usb", "add@/devices/x\0ACTION=add\0SUBSYSTEM=usb\0"s, false},
        {"longer subsystem name", "add@/devices/x\0SUBSYSTEM=hidrawx\0"s, false},
        {"hidraw only in the path", "add@/devices/x/hidraw/hidraw3\0SUBSYSTEM=input\0"s, false},
        {"cut off inside the key", "add@/devices/x\0SUBSYSTEM=hidr"s, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(sender.SendTo(receiver.PortId(), 0, c.message));
        EXPECT_EQ(DrainKernelUevents(receiver.Fd()), c.change);
        EXPECT_FALSE(DrainKernelUevents(receiver.Fd())) << "everything was read";
    }
}

TEST(KernelUeventTest, OverflowedQueueCountsAsAChange) {
    // A tiny queue on the broadcast group, flooded with messages of no interest: the ones the
    // kernel had to drop might have been hidraw ones.
    UeventSocket receiver(1, 1);
    UeventSocket sender(0);
    SKIP_WITHOUT_UEVENT_SOCKET(receiver);
    ASSERT_TRUE(sender.Open());
    const std::string noise =
        "change@/devices/x\0ACTION=change\0SUBSYSTEM=leebdesk-test\0"s + std::string(400, 'x');
    for (int i = 0; i < 64; ++i) {
        if (!sender.SendTo(0, 1, noise)) {
            GTEST_SKIP() << "cannot broadcast uevents here: " << errno;
        }
    }
    EXPECT_TRUE(DrainKernelUevents(receiver.Fd()));
}

TEST(KernelUeventTest, SyntheticHidrawEventReachesTheControllerThroughTheMonitor) {
    UeventSocket sender(0);
    SKIP_WITHOUT_UEVENT_SOCKET(sender);
    FakeHidrawTree tree;  // plain files as nodes: a scan reads sysfs only
    auto platform = std::make_shared<LinuxHidPlatform>(tree.SysfsRoot(), tree.DevRoot(),
                                                       HidChangeSource::KernelUevent);
    auto gui = std::make_shared<ManualGuiDispatcher>();
    Recorder rec;
    HidDeviceControllerSettings settings;
    settings.OnArrival = HidPlugEvent::Bind(&rec, &Recorder::Arrival);
    settings.OnDeviceChange = HidNotifyEvent::Bind(&rec, &Recorder::Change);
    HidDeviceController controller(platform, gui, std::move(settings));
    ASSERT_EQ(platform->ActiveChangeSource(), HidChangeSource::KernelUevent);
    gui->ProcessPending();
    ASSERT_EQ(rec.events, std::vector<std::string>{"change"});
    rec.events.clear();

    tree.AddNode(4, 0x1234, 0x5678, 1, UnnumberedDescriptor());
    const std::string event =
        "add@/devices/leebdesk-test/hidraw/hidraw4\0ACTION=add\0SUBSYSTEM=hidraw\0"s;
    if (!sender.SendTo(0, 1, event)) {
        GTEST_SKIP() << "cannot broadcast uevents here: " << errno;
    }
    ASSERT_TRUE(gui->ProcessUntil([&] { return rec.events.size() >= 2; }, std::chrono::seconds(3)));
    EXPECT_EQ(rec.events, (std::vector<std::string>{"arrival 22136", "change"}));
    EXPECT_EQ(controller.LastChangeParam(), 0);
}

}  // namespace
}  // namespace leeb::test
