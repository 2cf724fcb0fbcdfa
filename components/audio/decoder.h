// The decoder thread: reads the playing source into the frame ring (half to three quarters
// of a second ahead), as float stereo (mono is put on both channels), and takes up new requests — a
// new source, a seek, or nothing — each under a new epoch number. One slot holds a source
// queued to follow the playing one at its end (a gapless join: its frames follow in the ring
// with nothing between); any new request empties it. Requests come from the UI thread and
// never wait for the decoder; the thread starts with the first of them.
// Positions are source frames.
#pragma once

#include "components/audio/framering.h"
#include "components/audio/sources/source.h"

#include <atomic>
#include <cstdint>
#include <functional>
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
    // Queues `source` (same rate and channel count) to follow, at its end, the source that
    // request `epoch` plays; replaces one queued before. Ignored once a newer request came.
    void QueueNext(std::shared_ptr<Source> source, uint64_t epoch);
    // Withdraws the queued source, also when its frames are already in the ring: the data then
    // ends where it would have begun. False when too late: the reader has joined on to it
    // (the part after `heardPart` of request `epoch` is on its way to the speakers).
    bool DropNext(uint64_t epoch, uint64_t heardPart);
    // Called on the decoder thread when part `part` of request `epoch` has been read to its
    // end without a failure: a source queued now still follows it. Set before the first request.
    void SetSourceEndedHook(std::function<void(uint64_t epoch, uint64_t part)> hook)
    {
        m_sourceEnded = std::move(hook);
    }
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
    struct Next {
        uint64_t epoch = 0;
        std::shared_ptr<Source> source;
    };
    void Run();
    // Decoder thread: takes the queued source up at the end of the part it has written, if the
    // reader has not reached that end yet. True when the ring now goes on with it.
    bool Join(Next next, uint64_t epoch, uint64_t serial, uint64_t part);

    FrameRing& m_ring;
    SharedMarks& m_marks;
    std::mutex m_mutex; // guards m_request and m_quit
    Request m_request;
    Next m_next;
    bool m_quit = false;
    std::atomic<uint64_t> m_requested{0};
    std::atomic<uint64_t> m_nextSerial{0}; // bumped by every queue and drop of the next source
    std::function<void(uint64_t, uint64_t)> m_sourceEnded;
    std::thread m_thread; // UI thread only
};

} // namespace quillet::audio
