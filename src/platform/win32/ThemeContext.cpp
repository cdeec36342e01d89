#include "platform/win32/ThemeContext.h"

// The linker's name for the start of the module this code is in: its HMODULE.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace bk {

ThemeContext::Activation::Activation(HANDLE context) {
    if (context != INVALID_HANDLE_VALUE)
        active_ = ActivateActCtx(context, &cookie_) != FALSE;
}

ThemeContext::Activation::~Activation() {
    if (active_)
        DeactivateActCtx(0, cookie_);
}

ThemeContext::~ThemeContext() {
    if (context_ != INVALID_HANDLE_VALUE)
        ReleaseActCtx(context_);
}

ThemeContext::Activation ThemeContext::Activate() {
    InitOnceExecuteOnce(&once_, Create, this, nullptr);
    return Activation(context_);
}

// The module is the one holding this code, found from its own address: the
// host's module (GetModuleHandle(NULL)) may have a manifest of its own or none.
// The resource is found through the module handle; the module's file name goes
// with it as the context's source (left out when too long for the buffer).
BOOL CALLBACK ThemeContext::Create(PINIT_ONCE, PVOID self, PVOID*) {
    auto module = reinterpret_cast<HMODULE>(&__ImageBase);
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.hModule = module;
    request.lpResourceName = ISOLATIONAWARE_NOSTATICIMPORT_MANIFEST_RESOURCE_ID;
    request.lpSource = n > 0 && n < MAX_PATH ? path : nullptr;
    static_cast<ThemeContext*>(self)->context_ = CreateActCtxA(&request);
    return TRUE;
}

}  // namespace bk
