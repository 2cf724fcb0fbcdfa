#include "ui/titlescroller.h"

#include "tags/songdetails.h"

namespace quillet {

namespace {
QString RotatedLeft(const QString& text, qsizetype by)
{
    return text.mid(by) + text.left(by);
}
} // namespace

// The display runs one step ahead of the stored text.
void TitleScroller::Turn(qint64 steps)
{
    const QString& text = m_songDetails.ScrollTitle();
    if (text.isEmpty() || steps <= 0)
        return;
    const QString turned = RotatedLeft(text, qsizetype(steps % text.size()));
    m_songDetails.SetScrollTitle(turned);
    m_songDetails.SetTextDisplay(RotatedLeft(turned, 1));
}

} // namespace quillet
