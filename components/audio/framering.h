// The queue of decoded sound between the decoder thread (the only writer) and the output's
// thread (the only reader): interleaved float stereo frames, lock-free. Indexes count frames
// since the engine was made (64-bit, never wrap); a slot is index % Capacity.
#pragma once

#include "components/audio/zeroedarray.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <mutex>

namespace quillet::audio {

class FrameRing {
public:
    // The decoder's 3/4 s up to 170 kHz; a power of two keeps the slot arithmetic cheap.
    static constexpr size_t Capacity = size_t(1) << 17;

    // Zero-filled by the system as it is first touched, so a ring that has not been used holds
    // no memory and one that has played short files only what they filled.
    FrameRing() : m_data(MakeZeroedArray<float>(Capacity * 2)) {}
    FrameRing(const FrameRing&) = delete;
    FrameRing& operator=(const FrameRing&) = delete;

    // Writer side.
    // Below how many queued frames a read wakes the writer (Capacity: at every read).
    void SetRefillMark(size_t frames) { m_refillMark.store(frames, std::memory_order_relaxed); }
    [[nodiscard]] uint64_t WriteIndex() const { return m_write.load(std::memory_order_relaxed); }
    [[nodiscard]] size_t Fill() const
    {
        return size_t(m_write.load(std::memory_order_relaxed) -
                      m_read.load(std::memory_order_acquire));
    }
    // Appends `frames` frames (the caller keeps Fill() + frames ≤ Capacity).
    void Write(const float* stereo, size_t frames)
    {
        uint64_t w = m_write.load(std::memory_order_relaxed);
        while (frames > 0) {
            const size_t slot = size_t(w % Capacity);
            const size_t n = std::min(frames, Capacity - slot);
            std::memcpy(&m_data[slot * 2], stereo, n * 2 * sizeof(float));
            stereo += n * 2;
            frames -= n;
            w += n;
        }
        m_write.store(w, std::memory_order_release);
        Signal();
    }

    // Takes back what was written from `index` on (≥ ReadIndex(); the reader must not be
    // reading past it: the caller holds the marks' guard, whose end stops the reader there).
    void RewindTo(uint64_t index)
    {
        if (index < m_write.load(std::memory_order_relaxed))
            m_write.store(index, std::memory_order_release);
    }

    // Reader side.
    [[nodiscard]] uint64_t ReadIndex() const { return m_read.load(std::memory_order_relaxed); }
    [[nodiscard]] size_t Available() const
    {
        return size_t(m_write.load(std::memory_order_acquire) -
                      m_read.load(std::memory_order_relaxed));
    }
    // Copies `frames` frames (≤ Available()) and consumes them. Wakes the writer only once
    // fewer than its refill mark are left, so it is not woken by every small read.
    void Read(float* stereo, size_t frames)
    {
        uint64_t r = m_read.load(std::memory_order_relaxed);
        while (frames > 0) {
            const size_t slot = size_t(r % Capacity);
            const size_t n = std::min(frames, Capacity - slot);
            std::memcpy(stereo, &m_data[slot * 2], n * 2 * sizeof(float));
            stereo += n * 2;
            frames -= n;
            r += n;
        }
        m_read.store(r, std::memory_order_release);
        // A writer that saw more than this fill before its wait began sees the event.
        if (m_write.load(std::memory_order_acquire) - r <
            m_refillMark.load(std::memory_order_relaxed))
            Signal();
    }
    // Drops everything before `index` (≤ WriteIndex()).
    void SkipTo(uint64_t index)
    {
        if (index > m_read.load(std::memory_order_relaxed))
            m_read.store(index, std::memory_order_release);
        Signal();
    }

    // Either side, and controllers: a counter bumped on every change, for waiting.
    [[nodiscard]] uint32_t Events() const { return m_events.load(std::memory_order_acquire); }
    void Signal()
    {
        m_events.fetch_add(1, std::memory_order_acq_rel);
        m_events.notify_all();
    }
    void WaitForEvent(uint32_t seen) const { m_events.wait(seen, std::memory_order_acquire); }

private:
    ZeroedArray<float> m_data;
    alignas(64) std::atomic<uint64_t> m_write{0};
    alignas(64) std::atomic<uint64_t> m_read{0};
    alignas(64) std::atomic<uint32_t> m_events{0};
    std::atomic<size_t> m_refillMark{Capacity};
};

// Where the decoder stands, for the reader: which request it has taken up (its epoch), where
// in the ring that request's frames begin and which source frame they begin with, and where
// they end if the source has ended. A gapless join lets one request run on into the next
// source: its frames follow at `joinAt`, and the reader, on reaching them, makes them the
// current part (start, source frame 0, part + 1). Guarded by a mutex held for a few loads or
// stores only.
struct RingMarks {
    uint64_t epoch = 0;
    uint64_t start = 0;           // ring index of the current part's first frame
    int64_t sourceFrame = 0;      // source frame at `start`
    uint64_t end = UINT64_MAX;    // ring index after the epoch's last frame; MAX: not ended
    bool hasSource = false;       // false: the epoch plays nothing (ends at once)
    uint64_t part = 0;            // sources the reader has joined on to within the epoch
    uint64_t joinAt = UINT64_MAX; // ring index where the next part begins; MAX: none queued
};

// The marks and their guard. The reader holds the guard while it takes frames, so a new epoch
// can never begin between its look at the marks and its read; the writer holds it only to
// change the marks, never while decoding.
struct SharedMarks {
    std::mutex mutex;
    RingMarks marks;
};

} // namespace quillet::audio
