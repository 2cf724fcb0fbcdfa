// The display feed: level, spectrum and scope readings of the stretch of sound that is audible
// now (the stream frame the output reports as heard, looked up in the display tap), so the
// meters move with the sound rather than ahead of it. UI thread; never blocks.
#pragma once

#include "components/audio/dsp/analysis.h"
#include "components/audio/player.h"
#include "playback/audioengine.h"

#include <vector>

namespace quillet::audio {

class DisplayFeed : public Connector {
public:
    explicit DisplayFeed(const Player& player) : m_player(player) {}

    bool Levels(float& leftDb, float& rightDb) const override;
    bool Spectrum(std::span<float, SpectrumBins> magnitudesDb) const override;
    int Scope(std::span<float> samples) const override;

private:
    static constexpr size_t MaxScopeFrames = 8192;
    // The `frames` frames that end at the audible frame, into m_window; false when nothing
    // sounds (no play, paused, or nothing handed to the server yet).
    bool Window(size_t frames) const;

    const Player& m_player;
    mutable std::vector<float> m_window;
    mutable SpectrumAnalyzer m_analyzer;
};

} // namespace quillet::audio
