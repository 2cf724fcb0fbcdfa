// The calls the PulseAudio output makes into the sound server's client library, which is loaded
// at the first of them rather than at program start (see sharedlibrary.h). Each member has the
// name and type of the library's function. Any thread once loaded.
#pragma once

#include <pulse/pulseaudio.h>

namespace quillet::audio {

#define QUILLET_PULSE_CALLS(X)                                                                     \
    X(pa_context_connect)                                                                          \
    X(pa_context_disconnect)                                                                       \
    X(pa_context_get_sink_info_list)                                                               \
    X(pa_context_get_state)                                                                        \
    X(pa_context_new)                                                                              \
    X(pa_context_set_state_callback)                                                               \
    X(pa_context_unref)                                                                            \
    X(pa_gettimeofday)                                                                             \
    X(pa_operation_cancel)                                                                         \
    X(pa_operation_get_state)                                                                      \
    X(pa_operation_unref)                                                                          \
    X(pa_stream_begin_write)                                                                       \
    X(pa_stream_cancel_write)                                                                      \
    X(pa_stream_connect_playback)                                                                  \
    X(pa_stream_cork)                                                                              \
    X(pa_stream_disconnect)                                                                        \
    X(pa_stream_drain)                                                                             \
    X(pa_stream_flush)                                                                             \
    X(pa_stream_get_state)                                                                         \
    X(pa_stream_get_time)                                                                          \
    X(pa_stream_get_timing_info)                                                                   \
    X(pa_stream_new)                                                                               \
    X(pa_stream_set_state_callback)                                                                \
    X(pa_stream_set_write_callback)                                                                \
    X(pa_stream_unref)                                                                             \
    X(pa_stream_update_timing_info)                                                                \
    X(pa_stream_writable_size)                                                                     \
    X(pa_stream_write)                                                                             \
    X(pa_threaded_mainloop_free)                                                                   \
    X(pa_threaded_mainloop_get_api)                                                                \
    X(pa_threaded_mainloop_lock)                                                                   \
    X(pa_threaded_mainloop_new)                                                                    \
    X(pa_threaded_mainloop_signal)                                                                 \
    X(pa_threaded_mainloop_start)                                                                  \
    X(pa_threaded_mainloop_stop)                                                                   \
    X(pa_threaded_mainloop_unlock)                                                                 \
    X(pa_threaded_mainloop_wait)                                                                   \
    X(pa_timeval_add)                                                                              \
    X(pa_usec_to_bytes)

struct PulseCalls {
#define QUILLET_PULSE_MEMBER(name) decltype(&::name) name = nullptr;
    QUILLET_PULSE_CALLS(QUILLET_PULSE_MEMBER)
#undef QUILLET_PULSE_MEMBER
};

// The library's calls, loaded by the first caller; null when the library or one of the calls
// cannot be found (the output then has no device).
[[nodiscard]] const PulseCalls* LoadPulseCalls();

} // namespace quillet::audio
