// The last second or more of what was handed to the server, as it left the equalizer (before
// volume and balance, so the displays show the music whatever the listening level), kept by
// stream frame so the display feed can read the stretch that is audible now. Written by the
// output's thread, read by the UI thread, lock-free: each frame is one packed atomic (left,
// right s16); frames not written yet take no memory.
#pragma once

#include "components/audio/zeroedarray.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace quillet::audio {

class DisplayTap {
public:
    static constexpr size_t Capacity = size_t(1) << 17; // frames; ≥ 1 s up to 131 kHz

    DisplayTap() : m_frames(MakeZeroedArray<uint32_t>(Capacity)) { Clear(); }

    void Clear()
    {
        m_end.store(0, std::memory_order_relaxed);
        m_begin.store(0, std::memory_order_release);
    }
    // Output thread: `frames` frames now sit at stream frame `at` (earlier frames from `at`
    // on are replaced: the server dropped them).
    // Samples are interleaved stereo floats; beyond full scale they are held at it.
    void Put(const float* stereo, size_t frames, int64_t at)
    {
        const auto s16 = [](float v) {
            return uint16_t(int16_t(std::clamp(v * 32768.0f, -32768.0f, 32767.0f)));
        };
        for (size_t i = 0; i < frames; ++i) {
            const uint32_t packed = s16(stereo[2 * i]) | (uint32_t(s16(stereo[2 * i + 1])) << 16);
            Frame(at + int64_t(i)).store(packed, std::memory_order_relaxed);
        }
        const int64_t end = at + int64_t(frames);
        const int64_t begin =
            std::max<int64_t>(m_begin.load(std::memory_order_relaxed), end - int64_t(Capacity) / 2);
        m_begin.store(std::min(begin, at), std::memory_order_relaxed);
        m_end.store(end, std::memory_order_release);
    }
    // UI thread: copies frames [from, from + count) as interleaved stereo (−1…1) and returns
    // how many were held; the others (not written yet, or long gone) read as silence.
    [[nodiscard]] size_t Get(int64_t from, size_t count, float* stereo) const
    {
        const int64_t end = m_end.load(std::memory_order_acquire);
        const int64_t begin = m_begin.load(std::memory_order_relaxed);
        size_t got = 0;
        for (size_t i = 0; i < count; ++i) {
            const int64_t f = from + int64_t(i);
            uint32_t packed = 0;
            if (f >= begin && f < end) {
                packed = Frame(f).load(std::memory_order_relaxed);
                ++got;
            }
            stereo[2 * i] = float(int16_t(packed & 0xFFFF)) / 32768.0f;
            stereo[2 * i + 1] = float(int16_t(packed >> 16)) / 32768.0f;
        }
        return got;
    }

private:
    [[nodiscard]] std::atomic_ref<uint32_t> Frame(int64_t frame) const
    {
        return std::atomic_ref<uint32_t>(m_frames[size_t(frame) % Capacity]);
    }

    ZeroedArray<uint32_t> m_frames;
    std::atomic<int64_t> m_begin{0}; // oldest frame still trusted
    std::atomic<int64_t> m_end{0};   // stream frame after the newest
};

} // namespace quillet::audio
