#include "host/BeckyAPI.h"

namespace bk {
namespace {

const char* const kNames[] = {
#define BK_CALLED(name, type) #name,
#define BK_BOUND(name) #name,
#include "host/HostEntryPoints.inc"
#undef BK_CALLED
#undef BK_BOUND
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
#define BK_BOUND(name)                                                  \
    if (complete) {                                                     \
        ProcAddress address = platform_.FindExport(hostModule_, #name); \
        name = reinterpret_cast<decltype(name)>(address);               \
        complete = address != nullptr;                                  \
    }
#define BK_CALLED(name, type) BK_BOUND(name)
#include "host/HostEntryPoints.inc"
#undef BK_CALLED
#undef BK_BOUND
    if (!complete) hostModule_ = 0;
    return complete;
}

ProcAddress TBeckyAPI::Slot(int index) const {
    int i = 0;
#define BK_BOUND(name) \
    if (i++ == index) return reinterpret_cast<ProcAddress>(name);
#define BK_CALLED(name, type) BK_BOUND(name)
#include "host/HostEntryPoints.inc"
#undef BK_CALLED
#undef BK_BOUND
    return nullptr;
}

const char* TBeckyAPI::SlotName(int index) {
    return index >= 0 && index < kHostEntryPointCount ? kNames[index] : nullptr;
}

}  // namespace bk
