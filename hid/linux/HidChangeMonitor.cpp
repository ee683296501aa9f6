#include "HidChangeMonitor.h"

#include <libudev.h>
#include <linux/netlink.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace leeb {

// One file descriptor to wait on and a way to drain it, answering whether a hidraw node was
// among what it read.
struct HidChangeMonitor::EventSource {
    int fd = -1;
    std::function<bool()> drain;
    std::function<void()> close;
    ~EventSource() {
        if (close) {
            close();
        }
    }
};

namespace {

bool StartsWith(const char* text, size_t length, const char* prefix) {
    const size_t n = std::strlen(prefix);
    return length >= n && std::memcmp(text, prefix, n) == 0;
}

}  // namespace

// A message is "ACTION@DEVPATH\0KEY=VALUE\0...": relevant when SUBSYSTEM=hidraw. A queue that
// overflowed (ENOBUFS) has lost messages that may have been hidraw ones: that counts as a change
// too, or a device plugged during a burst of other events would go unnoticed.
bool DrainKernelUevents(int fd) {
    bool relevant = false;
    char message[8192];
    for (;;) {
        const ssize_t n = ::recv(fd, message, sizeof message, 0);
        if (n < 0 && errno == ENOBUFS) {
            relevant = true;
            continue;
        }
        if (n <= 0) {
            break;
        }
        const size_t length = static_cast<size_t>(n);
        size_t at = 0;
        while (at < length) {
            const char* field = message + at;
            const size_t fieldLength = ::strnlen(field, length - at);
            if (StartsWith(field, fieldLength, "SUBSYSTEM=hidraw") &&
                fieldLength == std::strlen("SUBSYSTEM=hidraw")) {
                relevant = true;
            }
            at += fieldLength + 1;
        }
    }
    return relevant;
}

HidChangeMonitor::HidChangeMonitor(HidChangeSource source, const std::string& sysfsRoot,
                                   const std::string& devRoot, std::function<void()> changed)
    : source_(source), changed_(std::move(changed)) {
    if (source_ == HidChangeSource::Automatic) {
        // udevd announces itself with its control socket; without it (containers) udev
        // monitors hear nothing, so listen to the kernel and to the /dev directory instead.
        if (::access("/run/udev/control", F_OK) == 0 && OpenUdev()) {
            source_ = HidChangeSource::Udev;
        } else {
            OpenKernelUevent();
            OpenInotify(sysfsRoot, devRoot);
            source_ = HidChangeSource::KernelUevent;
        }
    } else if (source_ == HidChangeSource::Udev) {
        OpenUdev();
    } else if (source_ == HidChangeSource::KernelUevent) {
        OpenKernelUevent();
    } else if (source_ == HidChangeSource::Inotify) {
        OpenInotify(sysfsRoot, devRoot);
    }
    if (sources_.empty()) {
        source_ = HidChangeSource::None;
        return;
    }
    stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd_ < 0) {
        sources_.clear();
        source_ = HidChangeSource::None;
        return;
    }
    thread_ = std::thread([this] { Run(); });
}

HidChangeMonitor::~HidChangeMonitor() {
    if (thread_.joinable()) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(stopFd_, &one, sizeof one);
        thread_.join();
    }
    if (stopFd_ >= 0) {
        ::close(stopFd_);
    }
}

bool HidChangeMonitor::OpenUdev() {
    udev* context = udev_new();
    if (context == nullptr) {
        return false;
    }
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
    if (monitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        if (monitor != nullptr) {
            udev_monitor_unref(monitor);
        }
        udev_unref(context);
        return false;
    }
    auto source = std::make_unique<EventSource>();
    source->fd = udev_monitor_get_fd(monitor);
    source->drain = [monitor] {
        bool relevant = false;
        while (udev_device* device = udev_monitor_receive_device(monitor)) {
            relevant = true;  // the filter lets hidraw devices through only
            udev_device_unref(device);
        }
        return relevant;
    };
    source->close = [monitor, context] {
        udev_monitor_unref(monitor);
        udev_unref(context);
    };
    sources_.push_back(std::move(source));
    return true;
}

bool HidChangeMonitor::OpenKernelUevent() {
    const int fd =
        ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_KOBJECT_UEVENT);
    if (fd < 0) {
        return false;
    }
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    address.nl_groups = 1;  // the kernel's own broadcasts
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0) {
        ::close(fd);
        return false;
    }
    auto source = std::make_unique<EventSource>();
    source->fd = fd;
    source->drain = [fd] { return DrainKernelUevents(fd); };
    source->close = [fd] { ::close(fd); };
    sources_.push_back(std::move(source));
    return true;
}

bool HidChangeMonitor::OpenInotify(const std::string& sysfsRoot, const std::string& devRoot) {
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const uint32_t mask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB;
    const int watches =
        (::inotify_add_watch(fd, devRoot.c_str(), mask) >= 0 ? 1 : 0) +
        (::inotify_add_watch(fd, (sysfsRoot + "/class/hidraw").c_str(), mask) >= 0 ? 1 : 0);
    if (watches == 0) {
        ::close(fd);
        return false;
    }
    auto source = std::make_unique<EventSource>();
    source->fd = fd;
    source->drain = [fd] {
        bool relevant = false;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            size_t at = 0;
            while (at + sizeof(inotify_event) <= static_cast<size_t>(n)) {
                inotify_event event;
                std::memcpy(&event, buffer + at, sizeof event);
                const size_t end = at + sizeof(inotify_event) + event.len;
                if (end > static_cast<size_t>(n)) {
                    break;
                }
                const char* name = buffer + at + sizeof(inotify_event);
                if (event.len > 0 && StartsWith(name, ::strnlen(name, event.len), "hidraw")) {
                    relevant = true;
                }
                at = end;
            }
        }
        return relevant;
    };
    source->close = [fd] { ::close(fd); };
    sources_.push_back(std::move(source));
    return true;
}

void HidChangeMonitor::Run() {
    std::vector<pollfd> fds;
    for (const auto& source : sources_) {
        fds.push_back({source->fd, POLLIN, 0});
    }
    fds.push_back({stopFd_, POLLIN, 0});
    for (;;) {
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds.back().revents != 0) {
            return;
        }
        bool relevant = false;
        for (size_t i = 0; i < sources_.size(); ++i) {
            if (fds[i].revents != 0) {
                relevant = sources_[i]->drain() || relevant;
            }
        }
        if (relevant) {
            changed_();
        }
    }
}

}  // namespace leeb
