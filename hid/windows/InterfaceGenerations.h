#pragma once
// Identities of HID interfaces that change when a device goes away. The interface path alone
// is the same for a device plugged back into the same port, so the controller would keep a
// device whose handles are dead; the identity therefore carries a generation per path, which a
// removal notice for that interface (or I/O that finds the device gone) advances.

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace leeb {

class InterfaceGenerations {
  public:
    // Paths are compared without regard to case, as Windows compares them.
    std::string IdentityOf(const std::string& path) const;
    void Advance(const std::string& path);

  private:
    static std::string Key(const std::string& path);

    mutable std::mutex mutex_;
    std::map<std::string, uint64_t> generations_;
};

}  // namespace leeb
