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
    const ModuleHandle host = platform_.HostModule();
    // Values below 32 are error codes in the module-handle space, not modules.
    if (host < 32)
        return false;
    for (const SlotRow& row : kSlots) {
        ProcAddress address = platform_.FindExport(host, row.name);
        row.set(*this, address);
        if (!address)
            return false;
    }
    hostModule_ = host;
    return true;
}

}  // namespace bk
