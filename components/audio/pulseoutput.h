// The output to the PulseAudio server: one pa_threaded_mainloop from the first call that needs
// the server to the engine's end (none before: a program that never plays starts no thread), a
// context made (again) whenever it is needed, and one s16le stereo stream per play, kept
// about 100 ms ahead of the sound card. Control calls come from the UI thread and wait for
// the server at most a few seconds, and for a server that stopped answering only once until it
// answers again; the loop's thread pulls when the server asks (every
// 20 ms or so, and no more often), and tells the listener when the last frame has been
// played (drain completed) or the server has gone.
#pragma once

#include "components/audio/output.h"
#include "components/audio/pulsecalls.h"

#include <atomic>
#include <chrono>
#include <functional>

namespace quillet::audio {

class PulseOutput : public Output {
public:
    PulseOutput(Renderer& renderer, OutputListener& listener)
        : m_renderer(renderer), m_listener(listener)
    {
    }
    ~PulseOutput() override;

    int DeviceCount() override;
    void Open(int rate, uint64_t play) override;
    void SetPaused(bool paused) override;
    void Flush() override;
    void Close() override;
    int64_t AudibleFrame() const override;

private:
    // Holds the loop's lock: the loop's thread runs no callback meanwhile.
    class Lock {
    public:
        explicit Lock(const PulseOutput& out) : m_pa(*out.m_pa), m_loop(out.m_loop)
        {
            m_pa.pa_threaded_mainloop_lock(m_loop);
        }
        ~Lock() { m_pa.pa_threaded_mainloop_unlock(m_loop); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        const PulseCalls& m_pa;
        pa_threaded_mainloop* m_loop;
    };
    static constexpr auto ServerWait = std::chrono::milliseconds(3000); // longest wait
    timeval After(pa_usec_t usec) const; // the loop's clock that far ahead
    // UI thread: loads the client library and starts the loop's thread; false when either
    // cannot be done.
    bool StartLoop();
    // Loop thread or under the lock.
    bool Connect(); // true when the context is ready
    void DropContext();
    // A server that stopped answering (stopped, hung) is waited for once: until it answers
    // again, DeviceCount and Open answer at once (none, refused) from what is known.
    bool ServerFrozen();
    void NoteServerFrozen(); // a wait for it just ran out
    bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit);
    void Fill();
    void RetrySoon(); // Fill again shortly: the renderer had less than the server asked for
    void UpdateClock();
    void ReportLost();
    void CloseStream();

    static void ContextState(pa_context* context, void* self);
    static void StreamState(pa_stream* stream, void* self);
    static void StreamWrite(pa_stream* stream, size_t bytes, void* self);
    static void Retry(pa_mainloop_api* api, pa_time_event* event, const struct timeval* tv,
                      void* self);
    static void Drained(pa_stream* stream, int success, void* self);
    static void Flushed(pa_stream* stream, int success, void* self);
    static void TimingUpdated(pa_stream* stream, int success, void* self);

    Renderer& m_renderer;
    OutputListener& m_listener;
    const PulseCalls* m_pa = nullptr; // set with m_loop
    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    pa_operation* m_unanswered = nullptr; // a request the server has not answered yet
    pa_time_event* m_retry = nullptr; // armed only while the renderer is short
    pa_operation* m_drain = nullptr;

    // Guarded by the loop's lock.
    int m_rate = 44100;
    uint64_t m_play = 0;
    int64_t m_written = 0;     // stream frames handed over (the server's write index)
    bool m_awaitIndex = false; // after a flush, until the server has told its write index
    bool m_ended = false;      // the renderer has no more data; drain requested
    bool m_lost = false;       // the loss of this stream was reported

    // Read by any thread.
    std::atomic<int64_t> m_heard{0};     // stream frames heard at m_heardAt
    std::atomic<int64_t> m_heardAtNs{0}; // steady clock
    std::atomic<int64_t> m_writtenShared{0};
    std::atomic<bool> m_running{false}; // the server is playing the stream
    std::atomic<int> m_sharedRate{44100};
};

} // namespace quillet::audio
