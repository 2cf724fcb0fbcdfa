// What a listener hears in a capture of the sound server's sink (44.1 kHz s16 stereo,
// interleaved): the stretches where something sounds, each with its pitch, the silence
// between two of them and the level of a stretch. Any thread. Positions in frames, times in
// ms, pitches in Hz, levels in dB relative to full scale.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace quillet::test {

inline constexpr int CaptureRate = 44100;

struct HeardStretch {
    size_t first = 0; // first sounding frame
    size_t end = 0;   // one past the last sounding frame
    double hz = 0;    // of the left channel, from its upward zero crossings

    [[nodiscard]] size_t Frames() const { return end - first; }
    [[nodiscard]] double Ms() const { return double(Frames()) * 1000.0 / CaptureRate; }
};

// The stretches in which a sample of either channel exceeds `threshold` in magnitude; quiet
// shorter than `bridgeFrames` (a tone's zero crossings, a soft passage) does not split one.
// With `splitAtNewPitch`, a tone that follows another without a pause starts a stretch of its
// own where the left channel's period changes by more than a fifth and then holds (tones only:
// noise would split everywhere).
[[nodiscard]] inline std::vector<HeardStretch> HeardStretches(const std::vector<int16_t>& stereo,
                                                              int threshold = 64,
                                                              size_t bridgeFrames = 441,
                                                              bool splitAtNewPitch = false)
{
    std::vector<HeardStretch> out;
    const size_t frames = stereo.size() / 2;
    const auto loud = [&](size_t f) {
        return std::abs(int(stereo[2 * f])) > threshold ||
               std::abs(int(stereo[2 * f + 1])) > threshold;
    };
    const auto upward = [&](size_t f) { return stereo[2 * (f - 1)] < 0 && stereo[2 * f] >= 0; };
    for (size_t f = 0; f < frames; ++f) {
        if (!loud(f))
            continue;
        if (out.empty() || f - out.back().end >= bridgeFrames)
            out.push_back({f, f + 1});
        else
            out.back().end = f + 1;
    }
    if (splitAtNewPitch) {
        std::vector<HeardStretch> split;
        for (const HeardStretch& s : out) {
            std::vector<size_t> at; // upward crossings
            for (size_t f = s.first + 1; f < s.end; ++f)
                if (upward(f))
                    at.push_back(f);
            split.push_back(s);
            double period = 0; // of the last steady run of periods
            for (size_t k = 0; k + 2 < at.size(); ++k) {
                const double now = double(at[k + 1] - at[k]), next = double(at[k + 2] - at[k + 1]);
                if (std::abs(next - now) >= 2)
                    continue; // not steady here
                if (period > 0 && std::abs(now - period) > period / 5) {
                    split.back().end = at[k];
                    split.push_back({at[k], s.end});
                }
                period = now;
            }
        }
        out = split;
    }
    for (HeardStretch& s : out) { // from the first to the last upward crossing
        size_t first = 0, last = 0, crossings = 0;
        for (size_t f = s.first + 1; f < s.end; ++f)
            if (upward(f))
                (crossings++ == 0 ? first : last) = f;
        s.hz = crossings > 1 ? double(crossings - 1) * CaptureRate / double(last - first) : 0;
    }
    return out;
}

// The silence between the end of one stretch and the start of the next.
[[nodiscard]] inline double GapMs(const HeardStretch& before, const HeardStretch& after)
{
    return (double(after.first) - double(before.end)) * 1000.0 / CaptureRate;
}

// RMS level of both channels over frames [from, to).
[[nodiscard]] inline double RmsDb(const std::vector<int16_t>& stereo, size_t from, size_t to)
{
    double sum = 0;
    for (size_t i = 2 * from; i < 2 * to && i < stereo.size(); ++i)
        sum += double(stereo[i]) * double(stereo[i]);
    const double count = double(2 * (to - from));
    return 10 * std::log10(sum / count / (32768.0 * 32768.0) + 1e-30);
}

} // namespace quillet::test
