// What a listener hears in a capture of the sound server's sink (44.1 kHz s16 stereo,
// interleaved): the stretches where something sounds, each with its pitch, the level of a
// stretch, and how two tracks join. Any thread. Positions in frames, times in
// ms, pitches in Hz, levels in dB relative to full scale.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace quillet::test {

inline constexpr int CaptureRate = 44100;

struct HeardStretch {
    size_t first = 0; // first sounding frame
    size_t end = 0;   // one past the last sounding frame
    double hz = 0;    // of the left channel, from its upward zero crossings

    [[nodiscard]] double Ms() const { return double(end - first) * 1000.0 / CaptureRate; }
};

// The stretches in which a sample of either channel exceeds 64 in magnitude; quiet
// shorter than `bridgeFrames` (a tone's zero crossings, a soft passage) does not split one.
// With `splitAtNewPitch`, a tone that follows another without a pause starts a stretch of its
// own where the left channel's period changes by more than a fifth and then holds (tones only:
// noise would split everywhere).
[[nodiscard]] inline std::vector<HeardStretch> HeardStretches(const std::vector<int16_t>& stereo,
                                                              size_t bridgeFrames = 441,
                                                              bool splitAtNewPitch = false)
{
    std::vector<HeardStretch> out;
    const size_t frames = stereo.size() / 2;
    const auto loud = [&](size_t f) {
        return std::abs(int(stereo[2 * f])) > 64 || std::abs(int(stereo[2 * f + 1])) > 64;
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

// RMS level of both channels over frames [from, to).
[[nodiscard]] inline double RmsDb(const std::vector<int16_t>& stereo, size_t from, size_t to)
{
    double sum = 0;
    for (size_t i = 2 * from; i < 2 * to && i < stereo.size(); ++i)
        sum += double(stereo[i]) * double(stereo[i]);
    const double count = double(2 * (to - from));
    return 10 * std::log10(sum / count / (32768.0 * 32768.0) + 1e-30);
}

// A steady sine cut into two files off a zero crossing, as a listener hears their join: where
// the second file's first frame was heard against where it belongs right after the first
// file's last (0: nothing between, nothing lost), and how far the heard sound strays from the
// uncut sine around the join (RMS, 16-bit steps).
struct HeardJoin {
    int64_t gapFrames = 0;
    double joinError = 0;
    int64_t firstDifference = -1; // first frame of the cut sine not heard bit for bit; -1: none
    // RMS difference from the decoded sound before the join: a capture of a play that the
    // machine starved (an underrun inserts quiet) strays there and says nothing of the join.
    double leadError = 0;
};

// `heard`: the capture; `whole`: the uncut sine as 16-bit samples; `cut`: the first file's
// frames; `decoded`: the sound as decoded (the files' own samples for WAV, a reference
// decoder's output for lossy files), lined up with `whole`. A sine repeats itself, so sound
// is lined up by where it starts and where quiet ends, then only within half a period.
[[nodiscard]] inline HeardJoin MeasureJoin(const std::vector<int16_t>& heard,
                                           const std::vector<int16_t>& whole, size_t cut,
                                           const std::vector<int16_t>& decoded)
{
    constexpr size_t Probe = 1024, Half = 45, Reach = 4410; // frames
    const auto quiet = [](const std::vector<int16_t>& v, size_t f) {
        return std::abs(int(v[2 * f])) <= 64 && std::abs(int(v[2 * f + 1])) <= 64;
    };
    const auto firstLoud = [&](const std::vector<int16_t>& v) {
        size_t f = 0;
        while (2 * f + 1 < v.size() && quiet(v, f))
            ++f;
        return f;
    };
    const auto section = [](const std::vector<int16_t>& v, size_t from, size_t frames) {
        const size_t end = std::min(v.size(), 2 * (from + frames));
        return std::vector<int16_t>(v.begin() + std::ptrdiff_t(std::min(2 * from, end)),
                                    v.begin() + std::ptrdiff_t(end));
    };
    // The frame near `at` where the decoded sound from frame `from` lines up best with what
    // was heard: the least sum of absolute differences.
    const auto near = [&](size_t at, size_t from) {
        const std::vector<int16_t> pattern = section(decoded, from, Probe);
        size_t best = at > Half ? at - Half : 0;
        int64_t bestSum = INT64_MAX;
        for (size_t f = best; f <= at + Half && 2 * f + pattern.size() <= heard.size(); ++f) {
            int64_t sum = 0;
            for (size_t i = 0; i < pattern.size() && sum < bestSum; ++i)
                sum += std::abs(int(heard[2 * f + i]) - int(pattern[i]));
            if (sum < bestSum)
                bestSum = sum, best = f;
        }
        return best;
    };
    // RMS difference, in 16-bit steps, of `frames` frames of `a` from `atA` and of `b` from
    // `atB` (frames outside either count as silence).
    const auto rmsDifference = [](const std::vector<int16_t>& a, size_t atA,
                                  const std::vector<int16_t>& b, size_t atB, size_t frames) {
        double sum = 0;
        for (size_t i = 0; i < 2 * frames; ++i) {
            const size_t ia = 2 * atA + i, ib = 2 * atB + i;
            const double d = (ia < a.size() ? a[ia] : 0.0) - (ib < b.size() ? b[ib] : 0.0);
            sum += d * d;
        }
        return std::sqrt(sum / double(2 * frames));
    };
    HeardJoin join;
    const size_t lead = firstLoud(decoded);
    const size_t start = near(firstLoud(heard) + Probe, lead + Probe) - lead - Probe;
    size_t at = start + cut; // where the second file belongs
    size_t silent = 0;       // quiet frames heard around there: a gap
    for (size_t f = at - std::min(at, Probe); f < at + Reach && 2 * f + 1 < heard.size(); ++f)
        silent += quiet(heard, f) && quiet(heard, f + 1 < heard.size() / 2 ? f + 1 : f);
    join.gapFrames = int64_t(near(at + silent, cut)) - int64_t(at);
    join.joinError = rmsDifference(heard, at - Probe, whole, cut - Probe, 2 * Probe);
    join.leadError = rmsDifference(heard, start, decoded, 0, cut - Probe);
    const std::vector<int16_t> got = section(heard, start, whole.size() / 2);
    const auto differ = std::ranges::mismatch(got, whole);
    if (differ.in1 != got.end() || got.size() != whole.size())
        join.firstDifference = int64_t(differ.in1 - got.begin()) / 2;
    return join;
}

} // namespace quillet::test
