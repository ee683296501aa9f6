#include "Hid.h"

#include <string>
#include <vector>

namespace leeb {

namespace {

struct Slot {
    std::string name;
    bool twice;
    EntryPoint entry;
    EntryPoint second;
};

std::vector<Slot> MakeSlots() {
    std::vector<Slot> slots;
#define LEEB_HID_ONE(name) slots.push_back({#name, false, nullptr, nullptr});
#define LEEB_HID_TWO(name) slots.push_back({#name, true, nullptr, nullptr});
#include "HidNames.inc"
#undef LEEB_HID_ONE
#undef LEEB_HID_TWO
    return slots;
}

std::vector<Slot>& Slots() {
    static std::vector<Slot> slots = MakeSlots();
    return slots;
}

ModuleHandle module = nullptr;

}  // namespace

bool BindHid(const char* fileName) {
    if (!ModuleOpen(module, fileName)) {
        return false;
    }
    // A second bind while bound loads nothing again and binds the names anew.
    bool allFound = true;
    for (Slot& slot : Slots()) {
        slot.entry = ModuleSymbolChecked(module, slot.name.c_str(), allFound);
        slot.second =
            slot.twice ? ModuleSymbolChecked(module, slot.name.c_str(), allFound) : nullptr;
    }
    if (!allFound) {
        ReleaseHid();
        return false;
    }
    return true;
}

void ReleaseHid() {
    ModuleClose(module);
    for (Slot& slot : Slots()) {
        slot.entry = nullptr;
        slot.second = nullptr;
    }
}

bool HidBound() {
    return module != nullptr;
}

EntryPoint HidEntry(std::string_view name) {
    for (const Slot& slot : Slots()) {
        if (slot.name == name) {
            return slot.entry;
        }
    }
    return nullptr;
}

EntryPoint HidSecondEntry(std::string_view name) {
    for (const Slot& slot : Slots()) {
        if (slot.name == name) {
            return slot.second;
        }
    }
    return nullptr;
}

}  // namespace leeb
