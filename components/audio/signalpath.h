// The pull side of the engine, run on the output's thread: takes decoded frames from the ring
// (only those of the decoder's latest request), runs them through equalizer, volume and
// balance, soft limiter and 16-bit conversion, and notes where they came from (position map)
// and what they sounded like (display tap). Passing a gapless join, it tells the player at
// which stream frame the next source begins. Frames; rates in Hz.
#pragma once

#include "components/audio/decoder.h"
#include "components/audio/displaytap.h"
#include "components/audio/dsp/dsp.h"
#include "components/audio/framering.h"
#include "components/audio/output.h"
#include "components/audio/positionmap.h"

#include <functional>
#include <vector>

namespace quillet::audio {

class SignalPath : public Renderer {
public:
    SignalPath(FrameRing& ring, SharedMarks& marks, const Decoder& decoder, Equalizer& eq,
               VolumeStage& volume, PositionMap& map, DisplayTap& tap);

    // UI thread, while no output pulls: a new stream at `rate` begins at stream frame 0.
    void Prepare(int rate);

    size_t Pull(int16_t* out, size_t frames, int64_t at, bool& ended) override;

    // Called on the output's thread when the frames pulled reach a join: part `part` of
    // request `epoch` begins at stream frame `at`. Set while no output pulls.
    void SetJoinHook(std::function<void(uint64_t epoch, uint64_t part, int64_t at)> hook)
    {
        m_joined = std::move(hook);
    }

private:
    static constexpr size_t MaxBlock = 4096; // frames per pass through the filters

    FrameRing& m_ring;
    SharedMarks& m_marks;
    const Decoder& m_decoder;
    Equalizer& m_eq;
    VolumeStage& m_volume;
    SoftLimiter m_limiter;
    PositionMap& m_map;
    DisplayTap& m_tap;
    std::vector<float> m_block;
    std::function<void(uint64_t, uint64_t, int64_t)> m_joined;
};

} // namespace quillet::audio
