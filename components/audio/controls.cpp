#include "components/audio/controls.h"

#include "components/audio/sources/source.h"

namespace quillet::audio {

int64_t MsToFrames(int64_t ms, int rate)
{
    return (ms * rate + 999) / 1000;
}

int FramesToMs(int64_t frames, int rate)
{
    return rate > 0 ? int(frames * 1000 / rate) : 0;
}

void FileInput::SetFileName(const QString& path)
{
    // The path is the last one put even when it cannot be played; the source then is none.
    m_player.SetSource(Feed::File, nullptr, path);
    m_player.SetSource(Feed::File, OpenFileSource(path), path);
}

bool FileInput::PrepareNext(const QString& path)
{
    return m_player.PrepareNext(OpenFileSource(path), path);
}

int FileInput::Position() const
{
    const Source* source = m_player.SourceOf(Feed::File);
    return source ? FramesToMs(m_player.SourcePosition(Feed::File), source->Format().sampleRate)
                  : 0;
}

void FileInput::SetPosition(int ms)
{
    const Source* source = m_player.SourceOf(Feed::File);
    if (source)
        m_player.Seek(Feed::File, MsToFrames(std::max(ms, 0), source->Format().sampleRate));
}

int FileInput::Length() const
{
    const Source* source = m_player.SourceOf(Feed::File);
    return source ? FramesToMs(source->LengthFrames(), source->Format().sampleRate) : 0;
}

void FileInput::SetOutput(const QString& name)
{
    if (name.compare("Eq", Qt::CaseInsensitive) == 0)
        m_player.SetFeed(Feed::File);
}

void EqualizerBands::Add(double lowEdge, double highEdge, int)
{
    const int index = m_eq.AddBand(lowEdge, highEdge);
    if (index < 0)
        throw ComponentError("Cannot add an equalizer band");
    m_bands.push_back(std::make_unique<Band>(m_eq, index));
}

EqBand& EqualizerBands::Item(int index)
{
    if (index < 0 || index >= int(m_bands.size()))
        throw ComponentError("No such equalizer band");
    return *m_bands[size_t(index)];
}

} // namespace quillet::audio
