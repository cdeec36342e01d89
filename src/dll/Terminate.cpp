// The handler std::terminate calls unless another is set. The C++ runtime's own
// prints the exception's demangled type name to stderr first, which a host's
// window never shows, and it brings the demangler and a printf formatter into
// the DLL: some 40 KB of its 400. This one ends the process as that one does
// after printing. Nothing here is reached in normal use: every export catches
// every exception.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
