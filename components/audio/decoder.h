// The decoder thread: reads the playing source into the frame ring (half to three quarters
// of a second ahead), as float stereo (mono is put on both channels), and takes up new requests — a
// new source, a seek, or nothing — each under a new epoch number. Requests come from the
// UI thread and never wait for the decoder; the thread starts with the first of them.
// Positions are source frames.
#pragma once

#include "components/audio/framering.h"
#include "components/audio/sources/source.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace quillet::audio {

class Decoder {
public:
    Decoder(FrameRing& ring, SharedMarks& marks);
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    // From now on the ring is to hold `source` from `frame` on (nullptr: nothing, the data
    // ends at once). Returns the request's epoch.
    uint64_t Play(std::shared_ptr<Source> source, int64_t frame);
    // The epoch of the latest request; the reader takes nothing until the marks carry it.
    [[nodiscard]] uint64_t RequestedEpoch() const
    {
        return m_requested.load(std::memory_order_acquire);
    }

private:
    struct Request {
        uint64_t epoch = 0;
        std::shared_ptr<Source> source;
        int64_t frame = 0;
    };
    void Run();

    FrameRing& m_ring;
    SharedMarks& m_marks;
    std::mutex m_mutex; // guards m_request and m_quit
    Request m_request;
    bool m_quit = false;
    std::atomic<uint64_t> m_requested{0};
    std::thread m_thread; // UI thread only
};

} // namespace quillet::audio
