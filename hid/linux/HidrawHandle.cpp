#include "HidrawHandle.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace leeb {

namespace {

bool Fail(int code) {
    SetHidLastOsError(static_cast<uint32_t>(code));
    return false;
}

}  // namespace

std::unique_ptr<HidrawHandle> HidrawHandle::Open(const std::string& devicePath, HidOpenMode mode,
                                                 const HidrawDescription& description) {
    int fd = -1;
    int wakeFd = -1;
    switch (mode) {
        case HidOpenMode::QueryOnly:
            break;
        case HidOpenMode::ReadWrite:
            fd = ::open(devicePath.c_str(), O_RDWR | O_CLOEXEC);
            break;
        case HidOpenMode::OverlappedWrite:
            fd = ::open(devicePath.c_str(), O_WRONLY | O_CLOEXEC);
            break;
        case HidOpenMode::OverlappedRead:
            fd = ::open(devicePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
                if (wakeFd < 0) {
                    const int code = errno;
                    ::close(fd);
                    Fail(code);
                    return nullptr;
                }
            }
            break;
    }
    if (mode != HidOpenMode::QueryOnly && fd < 0) {
        Fail(errno);
        return nullptr;
    }
    return std::unique_ptr<HidrawHandle>(new HidrawHandle(fd, wakeFd, mode, description));
}

HidrawHandle::HidrawHandle(int fd, int wakeFd, HidOpenMode mode,
                           const HidrawDescription& description)
    : fd_(fd), wakeFd_(wakeFd), mode_(mode), description_(description) {}

HidrawHandle::~HidrawHandle() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
    }
}

bool HidrawHandle::GetAttributes(HIDD_ATTRIBUTES& attributes) {
    attributes = description_.Attributes;
    return true;
}

bool HidrawHandle::GetCaps(HIDP_CAPS& caps) {
    caps = HIDP_CAPS{};
    caps.UsagePage = description_.Layout.UsagePage;
    caps.Usage = description_.Layout.Usage;
    caps.InputReportByteLength = description_.Layout.InputReportByteLength;
    caps.OutputReportByteLength = description_.Layout.OutputReportByteLength;
    caps.FeatureReportByteLength = description_.Layout.FeatureReportByteLength;
    return true;
}

bool HidrawHandle::Write(const uint8_t* buffer, uint32_t count, uint32_t& written) {
    written = 0;
    if (fd_ < 0 || mode_ == HidOpenMode::OverlappedRead) {
        return Fail(EBADF);
    }
    ssize_t n;
    do {
        n = ::write(fd_, buffer, count);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        return Fail(errno);
    }
    written = static_cast<uint32_t>(n);
    return n == static_cast<ssize_t>(count) || Fail(EIO);
}

bool HidrawHandle::StartRead(uint8_t* buffer, uint32_t count) {
    if (fd_ < 0 || mode_ != HidOpenMode::OverlappedRead) {
        return Fail(EBADF);
    }
    if (failure_ != 0) {
        return Fail(failure_);
    }
    if (reading_) {
        return Fail(EBUSY);
    }
    if (count == 0) {
        return Fail(EINVAL);
    }
    buffer_ = buffer;
    count_ = count;
    result_ = 0;
    reading_ = true;
    return true;
}

bool HidrawHandle::ReadReady() {
    const bool prefixId = !description_.Layout.NumberedReports;
    uint8_t* into = prefixId ? buffer_ + 1 : buffer_;
    const size_t room = prefixId ? count_ - 1 : count_;
    uint8_t scratch[1];
    ssize_t n;
    do {
        // A report is read whole or cut to the room given; never past it.
        n = room > 0 ? ::read(fd_, into, room) : ::read(fd_, scratch, 0);
    } while (n < 0 && errno == EINTR);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        return false;
    }
    reading_ = false;
    if (n <= 0) {
        // The device is gone (or the node failed): every later read start fails.
        failure_ = n < 0 ? errno : ENODEV;
        result_ = 0;
        return true;
    }
    if (prefixId) {
        buffer_[0] = 0;
        ++n;
    }
    // hidraw hands out a short report as it came; other platforms give every input report
    // the descriptor's full length, zero-filled, and the layers above rely on that length.
    const uint32_t full =
        std::min<uint32_t>(description_.Layout.InputReportByteLength, count_);
    if (static_cast<uint32_t>(n) < full) {
        std::fill(buffer_ + n, buffer_ + full, uint8_t{0});
        n = static_cast<ssize_t>(full);
    }
    result_ = static_cast<uint32_t>(n);
    return true;
}

HidWaitResult HidrawHandle::WaitRead(int milliseconds) {
    if (!reading_) {
        return HidWaitResult::Completed;
    }
    using Clock = std::chrono::steady_clock;
    const bool forever = milliseconds == HidWaitForever;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        // poll's own "no time-out" is -1: the thread sleeps in the kernel until the node or
        // the eventfd has something, and wakes for nothing else.
        const int ready = ::poll(
            fds, 2, forever ? -1 : static_cast<int>(std::max<int64_t>(left.count(), 0)));
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            failure_ = errno;
            reading_ = false;
            result_ = 0;
            return HidWaitResult::Completed;
        }
        if (fds[1].revents & POLLIN) {
            uint64_t count;
            [[maybe_unused]] const ssize_t drained = ::read(wakeFd_, &count, sizeof count);
            return HidWaitResult::Interrupted;
        }
        if (fds[0].revents != 0 && ReadReady()) {
            return HidWaitResult::Completed;
        }
        if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            // The node reports a fault yet has nothing to read: poll would report it again at
            // once, so the read ends as failed instead of waiting in a spin.
            failure_ = ENODEV;
            reading_ = false;
            result_ = 0;
            return HidWaitResult::Completed;
        }
        if (!forever && (ready == 0 || Clock::now() >= deadline)) {
            return HidWaitResult::TimedOut;
        }
    }
}

uint32_t HidrawHandle::ReadResult() {
    return result_;
}

bool HidrawHandle::CancelRead() {
    reading_ = false;
    buffer_ = nullptr;
    return fd_ >= 0;
}

void HidrawHandle::Interrupt() {
    if (wakeFd_ >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
    }
}

}  // namespace leeb
