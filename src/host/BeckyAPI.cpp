#include "host/BeckyAPI.h"

namespace bk {
namespace {

// Every slot in load order: its entry point's name, and how to set it.
struct SlotRow {
    const char* name;
    void (*set)(TBeckyAPI& api, ProcAddress address);
};

const SlotRow kSlots[] = {
#define BK_BOUND(slot) \
    {#slot,            \
     [](TBeckyAPI& api, ProcAddress p) { api.slot = reinterpret_cast<decltype(api.slot)>(p); }},
#define BK_CALLED(slot, type) BK_BOUND(slot)
#include "host/HostEntryPoints.inc"
#undef BK_CALLED
#undef BK_BOUND
};
static_assert(sizeof(kSlots) / sizeof(kSlots[0]) == kHostEntryPointCount);

}  // namespace

bool TBeckyAPI::Bind() {
    if (hostModule_ != 0)
        return true;
    hostModule_ = platform_.HostModule();
    // Values below 32 are error codes in the module-handle space, not modules.
    if (hostModule_ < 32) {
        hostModule_ = 0;
        return false;
    }
    for (const SlotRow& row : kSlots) {
        ProcAddress address = platform_.FindExport(hostModule_, row.name);
        row.set(*this, address);
        if (!address) {
            hostModule_ = 0;
            return false;
        }
    }
    return true;
}

const char* TBeckyAPI::SlotName(int index) {
    return index >= 0 && index < kHostEntryPointCount ? kSlots[index].name : nullptr;
}

}  // namespace bk
