#pragma once
// TBeckyAPI: the plug-in's one binding to the host's exported BKA_ entry points.
//
// Bind() finds the host's executable module and looks the 54 names up once, in
// load order, stopping at the first that is missing. The object is bound
// exactly while HostModule() is non-zero; a failed Bind() leaves it unbound and
// a later Bind() starts again from the first name. Nothing of the host is
// released on destruction (the module handle carries no reference).

#include "host/HostCalls.h"
#include "platform/Platform.h"

namespace bk {

class TBeckyAPI {
public:
    explicit TBeckyAPI(Platform& platform) : platform_(platform) {}
    TBeckyAPI(const TBeckyAPI&) = delete;
    TBeckyAPI& operator=(const TBeckyAPI&) = delete;

    bool Bind();
    ModuleHandle HostModule() const { return hostModule_; }

    // One slot per entry point, named after it, typed by its call signature.
#define BK_CALLED(name, type) hostcall::type name = nullptr;
#define BK_BOUND(name) ProcAddress name = nullptr;
#include "host/HostEntryPoints.inc"
#undef BK_CALLED
#undef BK_BOUND

private:
    Platform& platform_;
    ModuleHandle hostModule_ = 0;
};

}  // namespace bk
