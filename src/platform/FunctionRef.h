#pragma once
// A callable handed down for the length of one call: a pointer to it and to a
// function that calls it, without what std::function costs in code and
// allocations. It binds only to a named callable (an lvalue), which must
// outlive the call.

#include <type_traits>
#include <utility>

namespace bk {

template <typename Signature>
class FunctionRef;

template <typename R, typename... Args>
class FunctionRef<R(Args...)> {
public:
    template <typename F, typename = std::enable_if_t<!std::is_same_v<F, FunctionRef>>>
    FunctionRef(F& f)  // NOLINT: implicit, as std::function's
        : object_(&f), call_([](void* object, Args... args) -> R {
              return (*static_cast<F*>(object))(std::forward<Args>(args)...);
          }) {}

    R operator()(Args... args) const { return call_(object_, std::forward<Args>(args)...); }

private:
    void* object_;
    R (*call_)(void*, Args...);
};

}  // namespace bk
