// A small DLL for the Win32 backend's tests: a module that is not the
// executable, loaded from wherever a test copies it.

extern "C" __declspec(dllexport) int TestModuleAnswer() {
    return 42;
}
