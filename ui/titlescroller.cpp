#include "ui/titlescroller.h"

#include "tags/songdetails.h"

namespace quillet {

namespace {
QString RotatedLeft(const QString& text)
{
    return text.mid(1) + text.left(1);
}
} // namespace

void TitleScroller::TimerScroller_Timer()
{
    const QString& text = m_songDetails.ScrollTitle();
    if (text.isEmpty())
        return;
    const QString turned = RotatedLeft(text);
    m_songDetails.SetScrollTitle(turned);
    m_songDetails.SetTextDisplay(RotatedLeft(turned));
}

} // namespace quillet
