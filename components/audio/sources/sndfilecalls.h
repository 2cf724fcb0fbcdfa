// The calls the WAV source makes into libsndfile, which is loaded at the first WAV file opened
// rather than at program start (it brings the FLAC, Ogg, Vorbis, Opus and MP3 libraries with
// it; see components/audio/sharedlibrary.h). Each member has the name and type of the
// library's function. Any thread once loaded.
#pragma once

#include <sndfile.h>

namespace quillet::audio {

#define QUILLET_SNDFILE_CALLS(X)                                                                   \
    X(sf_close)                                                                                    \
    X(sf_error)                                                                                    \
    X(sf_open_fd)                                                                                  \
    X(sf_readf_float)                                                                              \
    X(sf_seek)                                                                                     \
    X(sf_strerror)

struct SndfileCalls {
#define QUILLET_SNDFILE_MEMBER(name) decltype(&::name) name = nullptr;
    QUILLET_SNDFILE_CALLS(QUILLET_SNDFILE_MEMBER)
#undef QUILLET_SNDFILE_MEMBER
};

// The library's calls, loaded by the first caller; null when the library or one of the calls
// cannot be found.
[[nodiscard]] const SndfileCalls* LoadSndfileCalls();

} // namespace quillet::audio
