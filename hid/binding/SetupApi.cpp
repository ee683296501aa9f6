#include "SetupApi.h"

#include <string>
#include <vector>

namespace leeb {

namespace {

struct Slot {
    std::string name;
    int sameAs;  // index of the slot this one copies (the ANSI form), or -1
    EntryPoint entry;
};

// Per function with both forms three slots: A, W, and the plain name holding A again.
std::vector<Slot> MakeSlots() {
    std::vector<Slot> slots;
#define LEEB_SETUPAPI_AW(name)                 \
    slots.push_back({#name "A", -1, nullptr}); \
    slots.push_back({#name "W", -1, nullptr}); \
    slots.push_back({#name, static_cast<int>(slots.size()) - 2, nullptr});
#define LEEB_SETUPAPI_ONE(name) slots.push_back({#name, -1, nullptr});
#include "SetupApiNames.inc"
#undef LEEB_SETUPAPI_AW
#undef LEEB_SETUPAPI_ONE
    return slots;
}

std::vector<Slot>& Slots() {
    static std::vector<Slot> slots = MakeSlots();
    return slots;
}

// The entry points this system calls; the rest are bound for completeness only.
constexpr const char* RequiredNames[] = {"SetupDiGetClassDevsA", "SetupDiEnumDeviceInterfaces",
                                         "SetupDiGetDeviceInterfaceDetailA",
                                         "SetupDiDestroyDeviceInfoList"};

ModuleHandle module = nullptr;
int32_t useCount = 0;
std::string problem;

void EmptySlots() {
    for (Slot& slot : Slots()) {
        slot.entry = nullptr;
    }
}

}  // namespace

bool BindSetupApi(const char* fileName) {
    ++useCount;
    if (useCount > 1) {
        return true;
    }
    if (!ModuleOpen(module, fileName)) {
        --useCount;  // a failed load leaves the count as it was, so the next bind tries again
        problem = std::string(fileName) + " cannot be loaded: " + ModuleOpenError();
        return false;
    }
    std::vector<Slot>& slots = Slots();
    for (Slot& slot : slots) {
        slot.entry = slot.sameAs >= 0 ? slots[static_cast<size_t>(slot.sameAs)].entry
                                      : ModuleSymbol(module, slot.name.c_str());
    }
    for (const char* name : RequiredNames) {
        if (SetupApiEntry(name) == nullptr) {
            problem = std::string(fileName) + " lacks " + name;
            ReleaseSetupApi();
            return false;
        }
    }
    problem.clear();
    return true;
}

std::string SetupApiBindProblem() {
    return problem;
}

void ReleaseSetupApi() {
    --useCount;
    if (useCount <= 0) {
        useCount = 0;
        ModuleClose(module);
        EmptySlots();
    }
}

int32_t SetupApiUseCount() {
    return useCount;
}

bool SetupApiBound() {
    return module != nullptr;
}

EntryPoint SetupApiEntry(std::string_view name) {
    for (const Slot& slot : Slots()) {
        if (slot.name == name) {
            return slot.entry;
        }
    }
    return nullptr;
}

}  // namespace leeb
