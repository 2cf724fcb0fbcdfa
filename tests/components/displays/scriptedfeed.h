// A display feed whose readings the test sets: while `sounding` it returns the levels, bins and
// scope samples given, otherwise nothing sounds. With `flicker`, every second reading is 30 dB
// quieter and its scope trace upside down, so every display moves every frame. Counts its
// reads. UI (test) thread.
#pragma once

#include "playback/audioengine.h"

#include <algorithm>
#include <array>
#include <vector>

namespace quillet::test {

class ScriptedFeed : public Connector {
public:
    ScriptedFeed() { bins.fill(-120.0f); }

    bool Levels(float& leftDb, float& rightDb) const override
    {
        ++levelReads;
        if (!sounding)
            return false;
        m_quiet = flicker && !m_quiet;
        const float drop = m_quiet ? 30.0f : 0.0f;
        leftDb = left - drop;
        rightDb = right - drop;
        return true;
    }
    bool Spectrum(std::span<float, SpectrumBins> magnitudesDb) const override
    {
        ++otherReads;
        if (!sounding)
            return false;
        const float drop = m_quiet ? 30.0f : 0.0f;
        std::transform(bins.begin(), bins.end(), magnitudesDb.begin(),
                       [drop](float dB) { return dB - drop; });
        return true;
    }
    int Scope(std::span<float> samples) const override
    {
        ++otherReads;
        if (!sounding)
            return 0;
        const size_t n = std::min(samples.size(), scope.size());
        const float sign = m_quiet ? -1.0f : 1.0f;
        std::transform(scope.end() - ptrdiff_t(n), scope.end(), samples.begin(),
                       [sign](float x) { return sign * x; });
        return int(n);
    }

    bool sounding = false;
    bool flicker = false;
    float left = -96.0f;
    float right = -96.0f;
    std::array<float, SpectrumBins> bins{};
    std::vector<float> scope;
    mutable int levelReads = 0;
    mutable int otherReads = 0; // spectrum and scope

private:
    mutable bool m_quiet = false;
};

} // namespace quillet::test
