// The stream side of the PulseAudio output: a play's stream opened, paused, flushed and closed,
// filled when the server asks, and the audible clock (see pulseoutput.h).
#include "components/audio/pulseoutput.h"

#include "playback/audioengine.h"

#include <algorithm>

namespace quillet::audio {

namespace {

// What is heard lags what was pulled by about TargetLatency (so an equalizer or volume change
// is heard that much later). The server asks for more whenever RequestSize has been played,
// which is when the loop's thread wakes: a larger request means fewer wake-ups, and the
// server keeps (TargetLatency − 2 · RequestSize) / 2 in the sound card. (Measured: 20 ms
// requests keep a volume change heard within 100 ms; 25 ms ones let it take 120.)
constexpr pa_usec_t TargetLatency = 100 * 1000; // µs
constexpr pa_usec_t RequestSize = 20 * 1000;    // µs
constexpr pa_usec_t StartThreshold = 10 * 1000; // prebuffer before sound, µs
// Only while the renderer has less than the server asked for (the decoder catching up after
// a start or a seek): how soon to look again, µs.
constexpr pa_usec_t RetryInterval = 10 * 1000;
// The audible clock runs on from its last reading for at most this long (a stalled server
// must not carry it away). Readings come with every request, so this spans several.
constexpr int64_t ClockCoastNs = 4 * int64_t(RequestSize) * 1000;
constexpr int FrameBytes = 4; // s16 stereo

int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

void PulseOutput::Open(int rate, uint64_t play)
{
    if (!StartLoop())
        throw ComponentError("Cannot start the sound server connection");
    Lock lock(*this);
    CloseStream();
    if (!Connect())
        throw ComponentError("No sound server");
    const pa_sample_spec format{PA_SAMPLE_S16LE, uint32_t(rate), 2};
    m_stream = m_pa->pa_stream_new(m_context, "Quillet Jukebox", &format, nullptr);
    if (!m_stream)
        throw ComponentError("Cannot open a sound stream");
    m_rate = rate;
    m_play = play;
    m_written = 0;
    m_awaitIndex = m_ended = m_lost = false;
    m_heard.store(0);
    m_heardAtNs.store(NowNs());
    m_writtenShared.store(0);
    m_sharedRate.store(rate);
    m_running.store(false);
    m_pa->pa_stream_set_state_callback(m_stream, StreamState, this);
    m_pa->pa_stream_set_write_callback(m_stream, StreamWrite, this);

    pa_buffer_attr attr;
    attr.maxlength = uint32_t(-1);
    attr.tlength = uint32_t(m_pa->pa_usec_to_bytes(TargetLatency, &format));
    attr.prebuf = uint32_t(m_pa->pa_usec_to_bytes(StartThreshold, &format));
    attr.minreq = uint32_t(m_pa->pa_usec_to_bytes(RequestSize, &format));
    attr.fragsize = uint32_t(-1);
    const auto flags = pa_stream_flags_t(PA_STREAM_INTERPOLATE_TIMING |
                                         PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY);
    if (m_pa->pa_stream_connect_playback(m_stream, nullptr, &attr, flags, nullptr, nullptr) < 0) {
        CloseStream();
        throw ComponentError("Cannot open a sound stream");
    }
    const bool answered = WaitFor(
        [this] {
            const pa_stream_state_t state = m_pa->pa_stream_get_state(m_stream);
            return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
        },
        ServerWait);
    if (m_pa->pa_stream_get_state(m_stream) != PA_STREAM_READY) {
        CloseStream();
        if (!answered)
            NoteServerFrozen();
        throw ComponentError("Cannot open a sound stream");
    }
    m_running.store(true);
    Fill();
}

void PulseOutput::SetPaused(bool paused)
{
    if (!m_loop)
        return; // never opened
    Lock lock(*this);
    if (!m_stream)
        return;
    if (pa_operation* op = m_pa->pa_stream_cork(m_stream, paused ? 1 : 0, nullptr, nullptr))
        m_pa->pa_operation_unref(op);
    UpdateClock();
    m_running.store(!paused);
}

void PulseOutput::Flush()
{
    if (!m_loop)
        return; // never opened
    Lock lock(*this);
    if (!m_stream)
        return;
    if (m_drain) {
        m_pa->pa_operation_cancel(m_drain);
        m_pa->pa_operation_unref(m_drain);
        m_drain = nullptr;
    }
    m_ended = false;
    // Nothing is written until the server has told where its write index now stands, so the
    // frames written next are counted from the right place.
    m_awaitIndex = true;
    if (pa_operation* op = m_pa->pa_stream_flush(m_stream, Flushed, this))
        m_pa->pa_operation_unref(op);
    else
        m_awaitIndex = false;
}

void PulseOutput::Close()
{
    if (!m_loop)
        return; // never opened
    Lock lock(*this);
    CloseStream();
}

void PulseOutput::CloseStream()
{
    if (m_retry) {
        m_pa->pa_threaded_mainloop_get_api(m_loop)->time_free(m_retry);
        m_retry = nullptr;
    }
    if (m_drain) {
        m_pa->pa_operation_cancel(m_drain);
        m_pa->pa_operation_unref(m_drain);
        m_drain = nullptr;
    }
    if (m_stream) {
        m_pa->pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        m_pa->pa_stream_set_write_callback(m_stream, nullptr, nullptr);
        m_pa->pa_stream_disconnect(m_stream);
        m_pa->pa_stream_unref(m_stream);
        m_stream = nullptr;
    }
    m_running.store(false);
}

int64_t PulseOutput::AudibleFrame() const
{
    int64_t heard = m_heard.load(std::memory_order_acquire);
    if (m_running.load(std::memory_order_acquire)) {
        // The clock is read at every request of the server; in between it runs on at the
        // stream's rate.
        const int64_t sinceNs = std::clamp<int64_t>(NowNs() - m_heardAtNs.load(), 0, ClockCoastNs);
        heard += sinceNs * m_sharedRate.load() / 1000000000;
    }
    return std::min(heard, m_writtenShared.load(std::memory_order_acquire));
}

void PulseOutput::Fill()
{
    if (!m_stream || m_ended || m_awaitIndex ||
        m_pa->pa_stream_get_state(m_stream) != PA_STREAM_READY)
        return;
    size_t bytes = m_pa->pa_stream_writable_size(m_stream);
    if (bytes == size_t(-1))
        return;
    while (bytes >= FrameBytes) {
        void* data = nullptr;
        size_t size = bytes;
        if (m_pa->pa_stream_begin_write(m_stream, &data, &size) < 0 || !data) {
            RetrySoon();
            return;
        }
        size = std::min(size, bytes);
        bool ended = false;
        const size_t got =
            m_renderer.Pull(static_cast<int16_t*>(data), size / FrameBytes, m_written, ended);
        if (got == 0) {
            m_pa->pa_stream_cancel_write(m_stream);
            if (ended) {
                // The data is all handed over: the play ends when the server has played it.
                m_ended = true;
                m_drain = m_pa->pa_stream_drain(m_stream, Drained, this);
            } else {
                RetrySoon(); // the server asks again only for what it has played since
            }
            return;
        }
        m_pa->pa_stream_write(m_stream, data, got * FrameBytes, nullptr, 0, PA_SEEK_RELATIVE);
        m_written += int64_t(got);
        m_writtenShared.store(m_written, std::memory_order_release);
        bytes -= got * FrameBytes;
    }
}

void PulseOutput::RetrySoon()
{
    pa_mainloop_api* api = m_pa->pa_threaded_mainloop_get_api(m_loop);
    const timeval at = After(RetryInterval);
    if (m_retry)
        api->time_restart(m_retry, &at);
    else
        m_retry = api->time_new(api, &at, Retry, this);
}

void PulseOutput::UpdateClock()
{
    pa_usec_t usec = 0;
    if (!m_stream || m_pa->pa_stream_get_time(m_stream, &usec) < 0)
        return;
    const int64_t frames = int64_t(usec * uint64_t(m_rate) / 1000000);
    m_heard.store(std::min(frames, m_written), std::memory_order_release);
    m_heardAtNs.store(NowNs(), std::memory_order_release);
}

void PulseOutput::ReportLost()
{
    if (!m_stream || m_lost)
        return;
    m_lost = true;
    m_running.store(false);
    m_listener.OutputLost(m_play);
}

void PulseOutput::StreamState(pa_stream* stream, void* self)
{
    auto* out = static_cast<PulseOutput*>(self);
    out->m_pa->pa_threaded_mainloop_signal(out->m_loop, 0);
    if (stream == out->m_stream && !PA_STREAM_IS_GOOD(out->m_pa->pa_stream_get_state(stream)))
        out->ReportLost();
}

void PulseOutput::StreamWrite(pa_stream*, size_t, void* self)
{
    auto* out = static_cast<PulseOutput*>(self);
    out->Fill();
    out->UpdateClock();
}

void PulseOutput::Retry(pa_mainloop_api* api, pa_time_event* event, const timeval*, void* self)
{
    auto* out = static_cast<PulseOutput*>(self);
    // Gone first: Fill makes a new one if the renderer is still short.
    api->time_free(event);
    out->m_retry = nullptr;
    out->Fill();
    out->UpdateClock();
}

void PulseOutput::Drained(pa_stream* stream, int success, void* self)
{
    auto* out = static_cast<PulseOutput*>(self);
    out->m_pa->pa_threaded_mainloop_signal(out->m_loop, 0);
    if (stream != out->m_stream || !out->m_drain)
        return;
    out->m_pa->pa_operation_unref(out->m_drain);
    out->m_drain = nullptr;
    if (success) {
        out->UpdateClock();
        out->m_heard.store(out->m_written);
        out->m_running.store(false);
        out->m_listener.OutputEnded(out->m_play);
    }
}

void PulseOutput::Flushed(pa_stream* stream, int, void* self)
{
    auto* out = static_cast<PulseOutput*>(self);
    if (stream != out->m_stream)
        return;
    if (pa_operation* op = out->m_pa->pa_stream_update_timing_info(stream, TimingUpdated, self))
        out->m_pa->pa_operation_unref(op);
    else
        out->m_awaitIndex = false;
}

void PulseOutput::TimingUpdated(pa_stream* stream, int, void* self)
{
    auto* out = static_cast<PulseOutput*>(self);
    if (stream != out->m_stream)
        return;
    const pa_timing_info* timing = out->m_pa->pa_stream_get_timing_info(stream);
    if (timing && !timing->write_index_corrupt)
        out->m_written = timing->write_index / FrameBytes;
    out->m_writtenShared.store(out->m_written);
    out->m_awaitIndex = false;
    out->UpdateClock();
    out->Fill();
}

} // namespace quillet::audio
