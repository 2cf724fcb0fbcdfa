#include "components/audio/cdinput.h"

namespace quillet::audio {

void CdInput::Open()
{
    throw ComponentError("No CD drive");
}

void CdInput::Close()
{
    m_open = false;
}

bool CdInput::Ready() const
{
    return false;
}

bool CdInput::DirectoryValid() const
{
    return false;
}

void CdInput::SelectRange(int, int)
{
    throw ComponentError("No CD drive");
}

void CdInput::SetOutput(const QString& name)
{
    if (name.compare("Eq", Qt::CaseInsensitive) == 0)
        m_player.SetFeed(Feed::Cd);
}

CdTrack CdInput::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw ComponentError("No such track");
    return m_tracks[size_t(index)];
}

}  // namespace quillet::audio
