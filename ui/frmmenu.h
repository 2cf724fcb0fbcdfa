// The main popup menu: Song Details, the options (Set on Top, Continuous Play, Shuffle, and
// the window's Size) with their check marks, help, the web sites and Exit. Never shown itself; the
// Menu button pops up the whole menu and the web-site button its Websites part alone, at the mouse
// pointer. UI thread only.
#pragma once

#include <QObject>

#include <functional>

class QMenu;
class QWidget;

namespace quillet {

class EndOfTrack;
class WebLinks;
class WindowOptions;
class WindowSize;
class WindowPlacement;

// What the menu's items act on; everything outlives the menu. An empty function makes its
// item do nothing.
struct MenuParts {
    EndOfTrack& endOfTrack;
    WindowOptions& windowOptions;
    WindowSize& windowSize;
    WebLinks& webLinks;
    WindowPlacement& placement;
    std::function<void()> songDetails_Click;
    std::function<void()> about_Click;
    std::function<void()> exit_Click;
};

class frmMenu : public QObject {
    Q_OBJECT
public:
    // mainWindow (not null): the window the menu belongs to (its parent) and whose position
    // the Menu button records.
    frmMenu(MenuParts parts, QWidget* mainWindow);

    void SkinButtonMenu_Click();
    void SkinButtonQuillet_Click();

    [[nodiscard]] QMenu& menu1() { return *m_menu1; }
    [[nodiscard]] QMenu& websites() { return *m_websites; }

private:
    QMenu* AddSubmenu(QMenu& menu, const char* name, const QString& caption);
    void AddCommand(QMenu& menu, const char* name, const QString& caption,
                    std::function<void()> routine);
    void BuildOptions(QMenu& options);

    MenuParts m_parts;
    QWidget& m_mainWindow;
    QMenu* m_menu1;
    QMenu* m_websites = nullptr;
};

} // namespace quillet
