#include "components/audio/pulsecalls.h"

#include "components/audio/sharedlibrary.h"

namespace quillet::audio {

const PulseCalls* LoadPulseCalls()
{
    static const PulseCalls* const loaded = []() -> const PulseCalls* {
        static PulseCalls calls;
        void* library = OpenSharedLibrary("libpulse.so.0");
        if (!library)
            return nullptr;
#define QUILLET_PULSE_RESOLVE(name)                                                                \
    if (!Resolve(library, #name, calls.name))                                                      \
        return nullptr;
        QUILLET_PULSE_CALLS(QUILLET_PULSE_RESOLVE)
#undef QUILLET_PULSE_RESOLVE
        return &calls;
    }();
    return loaded;
}

} // namespace quillet::audio
