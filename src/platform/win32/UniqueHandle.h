#pragma once
// One move-only owner for Windows handles. An alias per kind names the function
// that closes it and the value its API returns for "no handle", as a number
// (INVALID_HANDLE_VALUE is not a compile-time constant): kInvalidHandle for
// files and searches, 0, the default, for fonts (UniqueFont, DialogFonts.h).
// Menus have none: the plug-in only adds items to the host's, which it does
// not own.

#include "platform/win32/WindowsApi.h"

#include <cstdint>
#include <utility>

namespace bk {

inline constexpr std::intptr_t kInvalidHandle = -1;  // INVALID_HANDLE_VALUE

template <typename T, auto Close, std::intptr_t Empty = 0>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(T handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, EmptyValue())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        Reset(std::exchange(other.handle_, EmptyValue()));
        return *this;
    }

    static T EmptyValue() { return reinterpret_cast<T>(Empty); }

    T Get() const { return handle_; }
    explicit operator bool() const { return handle_ != EmptyValue(); }

    // Closes the handle held (if any) and takes `handle`.
    void Reset(T handle = EmptyValue()) {
        if (handle_ != EmptyValue())
            Close(handle_);
        handle_ = handle;
    }

private:
    T handle_ = EmptyValue();
};

using UniqueFindHandle = UniqueHandle<HANDLE, &::FindClose, kInvalidHandle>;
using UniqueFileHandle = UniqueHandle<HANDLE, &::CloseHandle, kInvalidHandle>;

}  // namespace bk
