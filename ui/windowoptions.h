// The Set on Top window option: the menu item's check mark, the main window's place in the
// always-on-top band, and the stored "1"/"0" text of the option. UI thread only.
#pragma once

#include "controls/controls.h"

#include <QObject>
#include <QString>

namespace quillet {

class MainWindowSteps;

class WindowOptions : public QObject {
    Q_OBJECT
public:
    // setTopText: the stored option text, read at start and written at exit; it must outlive
    // this object.
    explicit WindowOptions(QString& setTopText, QObject* parent = nullptr);

    // The window whose band the option sets; none: only the mark and the text change.
    void SetWindow(MainWindowSteps* window) { m_window = window; }

    // Start-up: exactly "1" puts the window on top and checks the item; anything else takes
    // it out of the band and clears the mark. The text stays as read either way.
    void ApplyStayOnTop();
    // The menu item chosen: the current check mark decides which way the option turns.
    void setOnTop_Click();

    [[nodiscard]] MenuItemControl& setOnTop() { return m_setOnTop; }

private:
    void PlaceWindow(bool onTop);

    QString& m_setTopText;
    MainWindowSteps* m_window = nullptr;
    MenuItemControl m_setOnTop;
};

} // namespace quillet
