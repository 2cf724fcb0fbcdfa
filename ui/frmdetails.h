// The Song Details window: the six tag fields of the file whose playback started last, in
// editable text fields whose edits are never kept, and a Close button that returns to the
// main window. Modeless; filled once when created, never refreshed while open; closing it
// deletes it. UI thread only. Sizes in pixels.
#pragma once

#include <QWidget>

#include <array>
#include <functional>

class QLineEdit;

namespace quillet {

class SongDetails;
class WindowPlacement;

class frmDetails : public QWidget {
    Q_OBJECT
public:
    static constexpr int FieldCount = 6;

    // showMainWindow: brings the main window to the front, active.
    frmDetails(const SongDetails& details, WindowPlacement& placement,
               std::function<void()> showMainWindow, qreal scale = 1, QWidget* parent = nullptr);

    // At creation: centred over the main window, then the fields set from the values.
    void Form_Load();
    void CommandClose_Click();

private:
    const SongDetails& m_details;
    WindowPlacement& m_placement;
    std::function<void()> m_showMainWindow;
    std::array<QLineEdit*, FieldCount> m_fields{}; // TextTitle … TextGenre
};

} // namespace quillet
