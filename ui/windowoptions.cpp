#include "ui/windowoptions.h"

#include "ui/mainwindowsteps.h"

namespace quillet {

WindowOptions::WindowOptions(QString& setTopText, QObject* parent)
    : QObject(parent), m_setTopText(setTopText)
{
}

void WindowOptions::ApplyStayOnTop()
{
    const bool onTop = m_setTopText == QLatin1String("1");
    m_setOnTop.SetChecked(onTop);
    PlaceWindow(onTop);
}

void WindowOptions::setOnTop_Click()
{
    if (m_setOnTop.Checked()) {
        PlaceWindow(false);
        m_setOnTop.SetChecked(false);
        m_setTopText = QStringLiteral("0");
    } else {
        m_setOnTop.SetChecked(true);
        PlaceWindow(true);
        m_setTopText = QStringLiteral("1");
    }
}

void WindowOptions::PlaceWindow(bool onTop)
{
    if (m_window)
        m_window->SetStayOnTop(onTop);
}

} // namespace quillet
