#include "components/audio/sources/sndfilecalls.h"

#include "components/audio/sharedlibrary.h"

namespace quillet::audio {

const SndfileCalls* LoadSndfileCalls()
{
    static const SndfileCalls* const loaded = []() -> const SndfileCalls* {
        static SndfileCalls calls;
        void* library = OpenSharedLibrary("libsndfile.so.1");
        if (!library)
            return nullptr;
#define QUILLET_SNDFILE_RESOLVE(name)                                                              \
    if (!Resolve(library, #name, calls.name))                                                      \
        return nullptr;
        QUILLET_SNDFILE_CALLS(QUILLET_SNDFILE_RESOLVE)
#undef QUILLET_SNDFILE_RESOLVE
        return &calls;
    }();
    return loaded;
}

} // namespace quillet::audio
