#pragma once
// One move-only owner for Windows handles. An alias per kind names the function
// that closes it and the value that means "no handle": the file and search
// handles' below, the font's (UniqueFont) in dialogs/win32/DialogFonts.h. No
// menu has one: the plug-in only adds items to the host's menus, which it
// does not own.
//
// The empty value is given as a number because INVALID_HANDLE_VALUE is not a
// compile-time constant: kInvalidHandle (-1) for the handles whose API returns
// INVALID_HANDLE_VALUE on failure (files, searches), 0, the default, for those
// that return null (fonts).

#include "platform/win32/WindowsApi.h"

#include <cstdint>

namespace bk {

inline constexpr std::intptr_t kInvalidHandle = -1;  // INVALID_HANDLE_VALUE

template <typename T, auto Close, std::intptr_t Empty = 0>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(T handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    static T EmptyValue() { return reinterpret_cast<T>(Empty); }

    T Get() const { return handle_; }
    explicit operator bool() const { return handle_ != EmptyValue(); }

    // Gives up ownership; the caller closes the handle.
    T Release() {
        T handle = handle_;
        handle_ = EmptyValue();
        return handle;
    }
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
