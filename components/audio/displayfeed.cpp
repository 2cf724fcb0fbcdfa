#include "components/audio/displayfeed.h"

#include <algorithm>

namespace quillet::audio {

static_assert(SpectrumAnalyzer::Bins == Connector::SpectrumBins);

bool DisplayFeed::Window(size_t frames) const
{
    if (m_player.State() != WaveOut::Started)
        return false; // stopped or paused: nothing sounds
    const int64_t audible = m_player.AudibleFrame();
    if (audible <= 0)
        return false;
    m_window.resize(frames * 2);
    return m_player.tap().Get(audible - int64_t(frames), frames, m_window.data()) > 0;
}

bool DisplayFeed::Levels(float& leftDb, float& rightDb) const
{
    if (!Window(PeakWindowFrames))
        return false;
    const ChannelLevels levels = PeakLevels(m_window.data(), PeakWindowFrames);
    leftDb = levels.leftDb;
    rightDb = levels.rightDb;
    return true;
}

bool DisplayFeed::Spectrum(std::span<float, SpectrumBins> magnitudesDb) const
{
    if (!Window(SpectrumAnalyzer::WindowFrames))
        return false;
    const auto bins = m_analyzer.Analyze(m_window.data(), SpectrumAnalyzer::WindowFrames);
    std::copy(bins.begin(), bins.end(), magnitudesDb.begin());
    return true;
}

int DisplayFeed::Scope(std::span<float> samples) const
{
    const size_t frames = std::min(samples.size(), MaxScopeFrames);
    if (frames == 0 || !Window(frames))
        return 0;
    ScopeSamples(m_window.data(), frames, samples.data());
    return int(frames);
}

} // namespace quillet::audio
