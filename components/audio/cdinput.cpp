#include "components/audio/cdinput.h"

namespace quillet::audio {

void CdInput::Close()
{
    // A play of the disc ends with it (OnStop when one runs).
    m_player.SetSource(Feed::Cd, nullptr);
    m_disc.Close();
}

bool CdInput::Ready() const
{
    m_toc = m_disc.ReadToc();
    return m_toc->ready;
}

const CdToc& CdInput::Toc() const
{
    if (!m_toc)
        m_toc = m_disc.ReadToc();
    return *m_toc;
}

void CdInput::SelectRange(int trackStart, int trackEnd)
{
    m_player.SetSource(Feed::Cd, OpenCdSource(m_disc.Device(), trackStart, trackEnd));
}

void CdInput::SetOutput(const QString& name)
{
    if (name.compare("Eq", Qt::CaseInsensitive) == 0)
        m_player.SetFeed(Feed::Cd);
}

CdTrack CdInput::Item(int index) const
{
    const CdToc& toc = Toc();
    if (index < 0 || index >= int(toc.tracks.size()))
        throw ComponentError("No such track");
    const CdTrackInfo& t = toc.tracks[size_t(index)];
    return CdTrack{t.number, t.firstSector, t.lastSector};
}

} // namespace quillet::audio
