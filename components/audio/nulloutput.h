// An output with no sound server: its own thread consumes the stream at the stream's rate
// (or as fast as it is decoded), hands each block to an optional capture, and can imitate a
// server that is missing or goes away (NullServer). Nothing waits in a server buffer, so the
// audible frame is the frame consumed. Control calls come from the UI thread.
#pragma once

#include "components/audio/engine.h"
#include "components/audio/output.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace quillet::audio {

class NullOutput : public Output {
public:
    NullOutput(Renderer& renderer, OutputListener& listener, bool realTime,
               std::shared_ptr<NullServer> server, NullCapture capture);
    ~NullOutput() override;

    int DeviceCount() override;
    void Open(int rate, uint64_t play) override;
    void SetPaused(bool paused) override;
    void Flush() override {}
    void Close() override;
    int64_t AudibleFrame() const override { return m_consumed.load(std::memory_order_acquire); }

private:
    void Run();
    template <class F> void Notify(std::unique_lock<std::mutex>& lock, F&& call);
    [[nodiscard]] bool ServerPresent() const { return !m_server || m_server->Present(); }

    Renderer& m_renderer;
    OutputListener& m_listener;
    const bool m_realTime;
    const std::shared_ptr<NullServer> m_server;
    const NullCapture m_capture;

    std::mutex m_mutex; // guards the fields below; the thread holds it except while pulling
    std::condition_variable m_wake;
    bool m_open = false;
    bool m_paused = false;
    bool m_pulling = false; // the thread is inside a pull (Close waits for it to leave)
    bool m_quit = false;
    int m_rate = 44100;
    uint64_t m_play = 0;
    uint64_t m_session = 0; // bumped by every Open and Close
    std::atomic<int64_t> m_consumed{0};
    std::thread m_thread;
};

} // namespace quillet::audio
