// The window's size as the user chooses it from the menu: 100 %, 150 % or 200 % of the design
// size in the screen's own pixels. Remembered in the user's configuration folder
// ($XDG_CONFIG_HOME/quillet-jukebox/window.conf), never in the settings file; until the user
// chooses, it follows the desktop's own scale. UI thread only.
#pragma once

#include "controls/controls.h"

#include <QObject>

#include <array>

namespace quillet {

class WindowSize : public QObject {
    Q_OBJECT
public:
    static constexpr std::array<int, 3> Percents{100, 150, 200};

    // desktopScale: the screen's device pixels per pixel (1 on an ordinary monitor).
    explicit WindowSize(qreal desktopScale, QObject* parent = nullptr);

    [[nodiscard]] int Percent() const { return m_percent; }
    // How much larger than its design the window is laid out, in the desktop's pixels.
    [[nodiscard]] qreal LayoutScale() const { return m_percent / (100.0 * m_desktopScale); }
    // The menu item of one of Percents: checked while it is the size.
    [[nodiscard]] MenuItemControl& Item(int percent);
    // Takes and remembers the size (one of Percents; anything else is ignored).
    void Choose(int percent);

    [[nodiscard]] static QString ConfigFile();

signals:
    void changed();

private:
    qreal m_desktopScale;
    int m_percent;
    std::array<MenuItemControl, Percents.size()> m_items;
};

} // namespace quillet
