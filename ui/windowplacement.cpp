#include "ui/windowplacement.h"

#include <cmath>

namespace quillet {

namespace {

// The outer size of a top-level window. One not shown yet has no frame of its own; it gets
// the main window's, so that a dialog centred before it first appears lands centred with
// its title bar.
QSize OuterSize(const QWidget& window, const QWidget& main)
{
    if (window.isVisible() || !main.isVisible())
        return window.frameGeometry().size();
    return window.size() + (main.frameGeometry().size() - main.size());
}

} // namespace

void WindowPlacement::RecordMainWindowPosition(const QWidget& form)
{
    m_left = float(form.pos().x());
    m_top = float(form.pos().y());
}

int WindowPlacement::HalfDifference(double difference)
{
    return int(std::nearbyint(difference)) / 2;
}

void WindowPlacement::CentreOverMainWindow(QWidget& form) const
{
    const QSize main = m_main.frameGeometry().size();
    const QSize outer = OuterSize(form, m_main);
    const int dx = HalfDifference(main.width() - outer.width());
    const int dy = HalfDifference(main.height() - outer.height());
    form.move(int(std::lround(m_left)) + dx, int(std::lround(m_top)) + dy);
}

} // namespace quillet
