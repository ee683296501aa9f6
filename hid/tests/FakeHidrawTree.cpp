#define FUSE_USE_VERSION 35
#include "FakeHidrawTree.h"

#include <fuse.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace leeb::test {

namespace fs = std::filesystem;

std::vector<uint8_t> UnnumberedDescriptor() {
    return {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x08,
            0x09, 0x01, 0x81, 0x02, 0x95, 0x08, 0x09, 0x01, 0x91, 0x02, 0xC0};
}

std::vector<uint8_t> NumberedDescriptor() {
    return {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x05, 0x75, 0x08, 0x95,
            0x08, 0x09, 0x01, 0x81, 0x02, 0x95, 0x08, 0x09, 0x01, 0x91, 0x02, 0xC0};
}

struct FakeHidrawTree::Fuse {
    struct Node {
        bool refuse = false;
        std::deque<std::vector<uint8_t>> input;
        std::vector<std::vector<uint8_t>> written;
        fuse_pollhandle* poller = nullptr;
        int opens = 0;
        int openNow = 0;
    };

    std::mutex mutex;
    std::map<std::string, Node> nodes;  // "hidraw0" -> node
    fuse* session = nullptr;
    std::thread loop;

    static Fuse& Self() { return *static_cast<Fuse*>(fuse_get_context()->private_data); }
    Node* Find(const char* path) {
        const auto it = nodes.find(path[0] == '/' ? path + 1 : path);
        return it == nodes.end() ? nullptr : &it->second;
    }

    static void* Init(fuse_conn_info*, fuse_config* config) {
        config->direct_io = 1;
        config->entry_timeout = 0;
        config->attr_timeout = 0;
        config->negative_timeout = 0;
        return fuse_get_context()->private_data;
    }
    static int GetAttr(const char* path, struct stat* st, fuse_file_info*) {
        std::memset(st, 0, sizeof *st);
        if (std::strcmp(path, "/") == 0) {
            st->st_mode = S_IFDIR | 0755;
            st->st_nlink = 2;
            return 0;
        }
        Fuse& self = Self();
        std::lock_guard lock(self.mutex);
        if (self.Find(path) == nullptr) {
            return -ENOENT;
        }
        st->st_mode = S_IFREG | 0666;
        st->st_nlink = 1;
        return 0;
    }
    static int ReadDir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
                       fuse_readdir_flags) {
        if (std::strcmp(path, "/") != 0) {
            return -ENOENT;
        }
        fill(buffer, ".", nullptr, 0, FUSE_FILL_DIR_PLUS);
        fill(buffer, "..", nullptr, 0, FUSE_FILL_DIR_PLUS);
        Fuse& self = Self();
        std::lock_guard lock(self.mutex);
        for (const auto& [name, node] : self.nodes) {
            fill(buffer, name.c_str(), nullptr, 0, FUSE_FILL_DIR_PLUS);
        }
        return 0;
    }
    static int Access(const char* path, int mask) {
        Fuse& self = Self();
        std::lock_guard lock(self.mutex);
        Node* node = self.Find(path);
        if (node == nullptr) {
            return std::strcmp(path, "/") == 0 ? 0 : -ENOENT;
        }
        return node->refuse && (mask & (R_OK | W_OK)) != 0 ? -EACCES : 0;
    }
    static int Open(const char* path, fuse_file_info* info) {
        Fuse& self = Self();
        std::lock_guard lock(self.mutex);
        Node* node = self.Find(path);
        if (node == nullptr) {
            return -ENOENT;
        }
        if (node->refuse) {
            return -EACCES;
        }
        info->direct_io = 1;
        info->nonseekable = 1;
        ++node->opens;
        ++node->openNow;
        return 0;
    }
    static int Release(const char* path, fuse_file_info*) {
        Fuse& self = Self();
        std::lock_guard lock(self.mutex);
        if (Node* node = self.Find(path)) {
            --node->openNow;
        }
        return 0;
    }
    // Like hidraw: one whole report per read, cut to the room given; EAGAIN when none waits.
    static int Read(const char* path, char* buffer, size_t size, off_t, fuse_file_info*) {
        Fuse& self = Self();
        std::lock_guard lock(self.mutex);
        Node* node = self.Find(path);
        if (node == nullptr) {
            return -ENODEV;
        }
        if (node->input.empty()) {
            return -EAGAIN;
        }
        const std::vector<uint8_t> report = std::move(node->input.front());
        node->input.pop_front();
        const size_t n = std::min(size, report.size());
        std::memcpy(buffer, report.data(), n);
        return static_cast<int>(n);
    }
    static int Write(const char* path, const char* data, size_t size, off_t, fuse_file_info*) {
        Fuse& self = Self();
        std::lock_guard lock(self.mutex);
        Node* node = self.Find(path);
        if (node == nullptr) {
            return -ENODEV;
        }
        node->written.emplace_back(data, data + size);
        return static_cast<int>(size);
    }
    static int Poll(const char* path, fuse_file_info*, fuse_pollhandle* handle, unsigned* revents) {
        Fuse& self = Self();
        std::lock_guard lock(self.mutex);
        Node* node = self.Find(path);
        if (node == nullptr) {
            *revents = POLLERR | POLLHUP;
            if (handle != nullptr) {
                fuse_pollhandle_destroy(handle);
            }
            return 0;
        }
        if (handle != nullptr) {
            if (node->poller != nullptr) {
                fuse_pollhandle_destroy(node->poller);
            }
            node->poller = handle;
        }
        *revents = node->input.empty() ? 0 : POLLIN;
        return 0;
    }

    void Wake(Node& node) {
        if (node.poller != nullptr) {
            fuse_notify_poll(node.poller);
            fuse_pollhandle_destroy(node.poller);
            node.poller = nullptr;
        }
    }
};

FakeHidrawTree::FakeHidrawTree() {
    char pattern[] = "/tmp/leebdesk-hidraw-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    root_ = pattern;
    fs::create_directories(root_ / "sys/class/hidraw");
    fs::create_directories(root_ / "sys/devices/usb");
    fs::create_directories(root_ / "dev");
}

FakeHidrawTree::~FakeHidrawTree() {
    if (fuse_) {
        // Unmounting ends the loop's read of the FUSE device; only then is its descriptor
        // closed, so the loop never reads a closed descriptor.
        fuse_exit(fuse_->session);
        ::umount2(DevRoot().c_str(), MNT_DETACH);
        fuse_->loop.join();
        fuse_unmount(fuse_->session);
        for (auto& [name, node] : fuse_->nodes) {
            if (node.poller != nullptr) {
                fuse_pollhandle_destroy(node.poller);
            }
        }
        fuse_destroy(fuse_->session);
    }
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

bool FakeHidrawTree::MountFuse(std::string& whyNot) {
    if (!fs::exists("/dev/fuse")) {
        whyNot = "/dev/fuse is missing: no FUSE on this machine";
        return false;
    }
    static const fuse_operations operations = [] {
        fuse_operations o{};
        o.init = &Fuse::Init;
        o.getattr = &Fuse::GetAttr;
        o.readdir = &Fuse::ReadDir;
        o.access = &Fuse::Access;
        o.open = &Fuse::Open;
        o.release = &Fuse::Release;
        o.read = &Fuse::Read;
        o.write = &Fuse::Write;
        o.poll = &Fuse::Poll;
        return o;
    }();
    auto fuse = std::make_unique<Fuse>();
    char program[] = "leebdesk-hidraw-fs";
    char* argv[] = {program, nullptr};
    fuse_args args = FUSE_ARGS_INIT(1, argv);
    fuse->session = fuse_new(&args, &operations, sizeof operations, fuse.get());
    fuse_opt_free_args(&args);
    if (fuse->session == nullptr) {
        throw std::runtime_error("fuse_new failed");
    }
    if (fuse_mount(fuse->session, DevRoot().c_str()) != 0) {
        fuse_destroy(fuse->session);
        throw std::runtime_error("cannot mount the FUSE file system on " + DevRoot());
    }
    fuse->loop = std::thread([session = fuse->session] { fuse_loop(session); });
    fuse_ = std::move(fuse);
    return true;
}

std::string FakeHidrawTree::HidDirectory(int number) const {
    return fs::canonical(root_ / "sys/class/hidraw" / ("hidraw" + std::to_string(number)) /
                         "device")
        .string();
}

void FakeHidrawTree::AddNode(int number, uint16_t vendor, uint16_t product, uint16_t version,
                             const std::vector<uint8_t>& descriptor, bool refuseReadWrite) {
    const std::string name = "hidraw" + std::to_string(number);
    char hidName[64];
    std::snprintf(hidName, sizeof hidName, "0003:%04X:%04X.%04X", vendor, product, ++sequence_);
    const fs::path usb = root_ / "sys/devices/usb" / std::to_string(sequence_);
    const fs::path hid = usb / (std::to_string(sequence_) + ":1.0") / hidName;
    fs::create_directories(hid);
    std::ofstream(usb / "bcdDevice") << std::hex << version << "\n";
    char uevent[128];
    std::snprintf(uevent, sizeof uevent, "DRIVER=hid-generic\nHID_ID=0003:%08X:%08X\n", vendor,
                  product);
    std::ofstream(hid / "uevent") << uevent;
    std::ofstream(hid / "report_descriptor", std::ios::binary)
        .write(reinterpret_cast<const char*>(descriptor.data()),
               static_cast<std::streamsize>(descriptor.size()));
    if (fuse_) {
        std::lock_guard lock(fuse_->mutex);
        fuse_->nodes[name].refuse = refuseReadWrite;
    } else {
        std::ofstream(root_ / "dev" / name);
    }
    const fs::path classDir = root_ / "sys/class/hidraw" / name;
    fs::create_directories(classDir);
    fs::create_symlink(hid, classDir / "device");
}

void FakeHidrawTree::RemoveNode(int number) {
    const std::string name = "hidraw" + std::to_string(number);
    fs::remove_all(root_ / "sys/class/hidraw" / name);
    if (fuse_) {
        std::lock_guard lock(fuse_->mutex);
        auto it = fuse_->nodes.find(name);
        if (it != fuse_->nodes.end()) {
            fuse_->Wake(it->second);
            fuse_->nodes.erase(it);
        }
    } else {
        fs::remove(root_ / "dev" / name);
    }
}

void FakeHidrawTree::Send(int number, std::vector<uint8_t> bytes) {
    std::lock_guard lock(fuse_->mutex);
    Fuse::Node& node = fuse_->nodes.at("hidraw" + std::to_string(number));
    node.input.push_back(std::move(bytes));
    fuse_->Wake(node);
}

std::vector<std::vector<uint8_t>> FakeHidrawTree::Written(int number) const {
    std::lock_guard lock(fuse_->mutex);
    return fuse_->nodes.at("hidraw" + std::to_string(number)).written;
}

int FakeHidrawTree::Opens(int number) const {
    std::lock_guard lock(fuse_->mutex);
    return fuse_->nodes.at("hidraw" + std::to_string(number)).opens;
}

int FakeHidrawTree::OpenNow(int number) const {
    std::lock_guard lock(fuse_->mutex);
    return fuse_->nodes.at("hidraw" + std::to_string(number)).openNow;
}

}  // namespace leeb::test
