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

// The entry points this system calls; the rest are bound for completeness only.
constexpr const char* RequiredNames[] = {"HidD_GetHidGuid", "HidD_GetAttributes",
                                         "HidD_GetPreparsedData", "HidD_FreePreparsedData",
                                         "HidP_GetCaps"};

ModuleHandle module = nullptr;
int32_t useCount = 0;
std::string problem;

}  // namespace

bool BindHid(const char* fileName) {
    ++useCount;
    if (useCount > 1) {
        return true;
    }
    if (!ModuleOpen(module, fileName)) {
        --useCount;
        problem = std::string(fileName) + " cannot be loaded: " + ModuleOpenError();
        return false;
    }
    for (Slot& slot : Slots()) {
        slot.entry = ModuleSymbol(module, slot.name.c_str());
        slot.second = slot.twice ? slot.entry : nullptr;
    }
    for (const char* name : RequiredNames) {
        if (HidEntry(name) == nullptr) {
            problem = std::string(fileName) + " lacks " + name;
            ReleaseHid();
            return false;
        }
    }
    problem.clear();
    return true;
}

std::string HidBindProblem() {
    return problem;
}

void ReleaseHid() {
    --useCount;
    if (useCount > 0) {
        return;
    }
    useCount = 0;
    ModuleClose(module);
    for (Slot& slot : Slots()) {
        slot.entry = nullptr;
        slot.second = nullptr;
    }
}

int32_t HidUseCount() {
    return useCount;
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
