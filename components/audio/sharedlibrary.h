// Libraries the engine loads when it first needs them instead of when the program starts (the
// sound server's client library brings a dozen more with it, which would slow every start and
// take memory in a program that never plays). A library once loaded stays loaded. Any thread.
#pragma once

#include <dlfcn.h>

namespace quillet::audio {

// The library's handle, its symbols kept to itself; null when it cannot be loaded.
[[nodiscard]] inline void* OpenSharedLibrary(const char* soname)
{
    return dlopen(soname, RTLD_LAZY | RTLD_LOCAL);
}

// Points `call` at the library's function `name`; false when the library has none.
template <class Function>
[[nodiscard]] bool Resolve(void* library, const char* name, Function& call)
{
    call = reinterpret_cast<Function>(dlsym(library, name));
    return call != nullptr;
}

} // namespace quillet::audio
