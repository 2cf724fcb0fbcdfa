// Which source frame each stream frame came from, so the audible stream frame can be told as
// a place in the source. Written by the output's thread as it pulls, read by the UI thread;
// the guard is held for a few loads or stores. Frames; epochs are the decoder's.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace quillet::audio {

class PositionMap {
public:
    struct Place {
        int64_t sourceFrame;
        uint64_t epoch;
        uint64_t part; // the source joined on to within the epoch (0: the epoch's own)
    };

    void Clear();
    // `frames` frames from `sourceFrame` on, taken under `epoch` from its part `part`, now sit
    // at stream frame `at`. Anything noted at or after `at` before is forgotten (the server
    // dropped it).
    void Note(int64_t at, int64_t sourceFrame, int64_t frames, uint64_t epoch, uint64_t part);
    // Where stream frame `at` came from; none when nothing was noted up to there.
    [[nodiscard]] std::optional<Place> Lookup(int64_t at) const;

private:
    struct Segment {
        int64_t stream;
        int64_t source;
        uint64_t epoch;
        uint64_t part;
    };
    static constexpr size_t MaxSegments = 64;
    mutable std::mutex m_mutex;
    std::vector<Segment> m_segments; // by stream frame, each running on to the next
    int64_t m_next = -1;             // stream frame after the last noted run, for continuity
    int64_t m_nextSource = 0;
};

} // namespace quillet::audio
