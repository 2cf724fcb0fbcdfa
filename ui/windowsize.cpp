#include "ui/windowsize.h"

#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

namespace quillet {

namespace {

constexpr char SizeKey[] = "size";

bool Offered(int percent)
{
    return std::find(WindowSize::Percents.begin(), WindowSize::Percents.end(), percent) !=
           WindowSize::Percents.end();
}

// The offered size nearest to the desktop's scale.
int Nearest(qreal desktopScale)
{
    return *std::min_element(
        WindowSize::Percents.begin(), WindowSize::Percents.end(), [desktopScale](int a, int b) {
            return std::abs(a - desktopScale * 100) < std::abs(b - desktopScale * 100);
        });
}

} // namespace

WindowSize::WindowSize(qreal desktopScale, QObject* parent)
    : QObject(parent), m_desktopScale(desktopScale > 0 ? desktopScale : 1.0)
{
    const QSettings stored(ConfigFile(), QSettings::IniFormat);
    bool number = false;
    const int percent = stored.value(QLatin1String(SizeKey)).toInt(&number);
    m_percent = number && Offered(percent) ? percent : Nearest(m_desktopScale);
    Item(m_percent).SetChecked(true);
}

QString WindowSize::ConfigFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1String("/quillet-jukebox/window.conf");
}

MenuItemControl& WindowSize::Item(int percent)
{
    const auto at = std::find(Percents.begin(), Percents.end(), percent);
    return m_items[size_t(std::max<std::ptrdiff_t>(at - Percents.begin(), 0) % m_items.size())];
}

void WindowSize::Choose(int percent)
{
    if (!Offered(percent))
        return;
    for (int offered : Percents)
        Item(offered).SetChecked(offered == percent);
    QSettings stored(ConfigFile(), QSettings::IniFormat);
    stored.setValue(QLatin1String(SizeKey), percent);
    stored.sync(); // a failed write only forgets the choice for the next start
    if (percent == m_percent)
        return;
    m_percent = percent;
    emit changed();
}

} // namespace quillet
