#include "host/BeckyAPI.h"

namespace bk {
namespace {

const char* const kNames[] = {
#define BK_NAME(name, type) #name,
    BK_HOST_ENTRY_POINTS(BK_NAME)
#undef BK_NAME
};
static_assert(sizeof(kNames) / sizeof(kNames[0]) == kHostEntryPointCount);

}  // namespace

bool TBeckyAPI::Bind() {
    if (hostModule_ != 0) return true;
    hostModule_ = platform_.HostModule();
    // Values below 32 are error codes in the module-handle space, not modules.
    if (hostModule_ < 32) {
        hostModule_ = 0;
        return false;
    }
    bool complete = true;
    // Each slot is filled in load order; the first missing name ends the walk.
#define BK_BIND(name, type)                                                \
    if (complete) {                                                        \
        ProcAddress address = platform_.FindExport(hostModule_, #name);    \
        name = reinterpret_cast<type>(address);                            \
        complete = address != nullptr;                                     \
    }
    BK_HOST_ENTRY_POINTS(BK_BIND)
#undef BK_BIND
    if (!complete) hostModule_ = 0;
    return complete;
}

ProcAddress TBeckyAPI::Slot(int index) const {
    int i = 0;
#define BK_SLOT(name, type) \
    if (i++ == index) return reinterpret_cast<ProcAddress>(name);
    BK_HOST_ENTRY_POINTS(BK_SLOT)
#undef BK_SLOT
    return nullptr;
}

const char* TBeckyAPI::SlotName(int index) {
    return index >= 0 && index < kHostEntryPointCount ? kNames[index] : nullptr;
}

}  // namespace bk
