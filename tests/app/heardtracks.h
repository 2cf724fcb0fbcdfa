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
[[nodiscard]] inline std::vector<HeardStretch>
HeardStretches(const std::vector<int16_t>& stereo, int threshold = 64, size_t bridgeFrames = 441)
{
    std::vector<HeardStretch> out;
    const size_t frames = stereo.size() / 2;
    const auto loud = [&](size_t f) {
        return std::abs(int(stereo[2 * f])) > threshold ||
               std::abs(int(stereo[2 * f + 1])) > threshold;
    };
    for (size_t f = 0; f < frames; ++f) {
        if (!loud(f))
            continue;
        if (out.empty() || f - out.back().end >= bridgeFrames)
            out.push_back({f, f + 1});
        else
            out.back().end = f + 1;
    }
    for (HeardStretch& s : out) {
        int crossings = 0;
        for (size_t f = s.first + 1; f < s.end; ++f)
            crossings += stereo[2 * (f - 1)] < 0 && stereo[2 * f] >= 0;
        s.hz = s.Frames() > 1 ? crossings * double(CaptureRate) / double(s.Frames() - 1) : 0;
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
