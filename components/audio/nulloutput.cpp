#include "components/audio/nulloutput.h"

#include <chrono>
#include <vector>

namespace quillet::audio {

namespace {
using Clock = std::chrono::steady_clock;
}

NullOutput::NullOutput(Renderer& renderer, OutputListener& listener, bool realTime,
                       std::shared_ptr<NullServer> server, NullCapture capture)
    : m_renderer(renderer), m_listener(listener), m_realTime(realTime), m_server(std::move(server)),
      m_capture(std::move(capture)), m_thread([this] { Run(); })
{
}

NullOutput::~NullOutput()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

int NullOutput::DeviceCount()
{
    return ServerPresent() ? 1 : 0;
}

void NullOutput::Open(int rate, uint64_t play)
{
    if (!ServerPresent())
        throw ComponentError("No sound server");
    Close();
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_paused = false;
        m_rate = rate;
        m_play = play;
        ++m_session;
        m_consumed.store(0, std::memory_order_release);
    }
    m_wake.notify_all();
}

void NullOutput::SetPaused(bool paused)
{
    {
        std::lock_guard lock(m_mutex);
        m_paused = paused;
    }
    m_wake.notify_all();
}

void NullOutput::Close()
{
    std::unique_lock lock(m_mutex);
    m_open = false;
    ++m_session;
    m_wake.notify_all();
    m_wake.wait(lock, [this] { return !m_pulling; });
}

// Calls the listener outside the guard, but counted as pulling, so that Close returns only
// once no call for the closed play can still come.
template <class F> void NullOutput::Notify(std::unique_lock<std::mutex>& lock, F&& call)
{
    m_pulling = true;
    lock.unlock();
    call();
    lock.lock();
    m_pulling = false;
    m_wake.notify_all();
}

void NullOutput::Run()
{
    std::vector<int16_t> block;
    Clock::time_point origin; // when frame `originFrame` was due (real-time pacing)
    int64_t originFrame = 0;
    uint64_t pacedSession = ~uint64_t(0);
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_quit || (m_open && !m_paused); });
        if (m_quit)
            return;
        const uint64_t session = m_session;
        const uint64_t play = m_play;
        const int rate = m_rate;
        if (!ServerPresent()) {
            m_open = false;
            Notify(lock, [&] { m_listener.OutputLost(play); });
            continue;
        }
        // 10 ms blocks in real time; as fast as possible, larger ones (fewer hand-overs).
        const size_t frames = m_realTime ? size_t(rate / 100) : 8192;
        block.resize(frames * 2);
        const int64_t at = m_consumed.load(std::memory_order_relaxed);
        if (m_realTime) {
            if (pacedSession != session) {
                pacedSession = session;
                origin = Clock::now();
                originFrame = at;
            }
            const auto due =
                origin + std::chrono::microseconds((at - originFrame) * 1000000 / rate);
            if (m_wake.wait_until(lock, due,
                                  [&] { return m_quit || m_session != session || m_paused; })) {
                pacedSession = ~uint64_t(0); // pacing starts afresh after a pause
                continue;
            }
        }
        m_pulling = true;
        lock.unlock();
        bool ended = false;
        const size_t got = m_renderer.Pull(block.data(), frames, at, ended);
        if (got > 0 && m_capture)
            m_capture(block.data(), got);
        lock.lock();
        m_pulling = false;
        m_wake.notify_all();
        if (m_session != session)
            continue; // closed while pulling: this play is over
        m_consumed.store(at + int64_t(got), std::memory_order_release);
        if (ended) {
            m_open = false;
            Notify(lock, [&] { m_listener.OutputEnded(play); });
        } else if (got == 0) {
            // Nothing decoded yet: look again shortly (the decoder works on its own thread).
            m_wake.wait_for(lock, std::chrono::microseconds(500));
            if (m_realTime)
                pacedSession = ~uint64_t(0);
        }
    }
}

} // namespace quillet::audio
