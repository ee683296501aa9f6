#pragma once
// A fake sysfs tree and a FUSE file system that serves hidraw-like nodes, in a temporary
// folder, so the Linux backend runs its real open/write/poll/read code against the kernel.
//
//   <root>/sys/devices/usb/<n>/bcdDevice
//   <root>/sys/devices/usb/<n>/<n>:1.0/0003:VVVV:PPPP.<seq>/{uevent,report_descriptor}
//   <root>/sys/class/hidraw/hidraw<n>/device -> that HID directory
//   <root>/dev/hidraw<n>  (FUSE: read, write, poll; or a plain file without FUSE)

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace leeb::test {

// Descriptors: 8-byte input and output reports, without and with report ID 5.
std::vector<uint8_t> UnnumberedDescriptor();
std::vector<uint8_t> NumberedDescriptor();

class FakeHidrawTree {
  public:
    FakeHidrawTree();
    ~FakeHidrawTree();

    std::string SysfsRoot() const { return (root_ / "sys").string(); }
    std::string DevRoot() const { return (root_ / "dev").string(); }

    // Serves <dev> through FUSE; false when /dev/fuse is missing.
    bool MountFuse(std::string& whyNot);

    // Adds sysfs entries (and, with FUSE, the node) for hidraw<number>.
    void AddNode(int number, uint16_t vendor, uint16_t product, uint16_t version,
                 const std::vector<uint8_t>& descriptor, bool refuseReadWrite = false);
    void RemoveNode(int number);
    std::string HidDirectory(int number) const;

    // FUSE nodes: the device sends `bytes` as hidraw gives them out (no ID byte for a device
    // without numbered reports).
    void Send(int number, std::vector<uint8_t> bytes);
    std::vector<std::vector<uint8_t>> Written(int number) const;
    int Opens(int number) const;  // opens ever made
    int OpenNow(int number) const;

    struct Fuse;

  private:
    std::filesystem::path root_;
    int sequence_ = 0;
    std::unique_ptr<Fuse> fuse_;
};

}  // namespace leeb::test
