// The About box: the program's name, version and notice, a button to the maker's web site
// and OK, which returns to the main window. Opened modeless and without an owner; closing it
// deletes it. UI thread only. Positions and sizes in pixels of its client area.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>

namespace quillet {

class DesignScale;
class WebLinks;
class WindowPlacement;

class frmAbout : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 235;
    static constexpr int ClientHeight = 134;

    // showMainWindow: brings the main window to the front, active.
    frmAbout(WindowPlacement& placement, const WebLinks& links,
             std::function<void()> showMainWindow, QWidget* parent = nullptr);
    ~frmAbout() override;

    // Before the first showing: centred over the main window.
    void Form_Load();
    // Laid out at a multiple of its design, as the main window is.
    void ApplyScale(qreal scale);
    void CommandOk_Click();
    void CommandQuillet_Click();

private:
    void BuildLabels();
    void BuildButtons();
    void WidenForTitle();

    WindowPlacement& m_placement;
    const WebLinks& m_links;
    std::function<void()> m_showMainWindow;
    std::unique_ptr<DesignScale> m_design;
};

} // namespace quillet
