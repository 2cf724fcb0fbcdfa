// The main window in its plain form (no skin yet): the visible playlist, the total and
// position texts and the playlist buttons, each wired to its routine; a small menu with
// Exit. It only creates controls, binds them and forwards events. UI thread only.
// Sizes and positions in pixels.
#pragma once

#include "ui/mainwindowsteps.h"
#include "ui/plainskin.h"

#include <QWidget>

#include <functional>

class QLabel;
class QListView;
class QMenu;

namespace quillet {

class MediaFiles;
class Playlist;
class PlaylistFiles;
class PlaylistModel;

// The routines behind the window's events that live above the window.
struct MainWindowActions {
    std::function<void()> PlaySelected; // double click on an entry
    std::function<void()> FormUnload;   // the window is closed by the system
    std::function<void()> ExitClick;    // menu Exit
};

class frmMain : public QWidget, public MainWindowSteps {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 314;
    static constexpr int DesignHeight = 404;

    frmMain(Playlist& playlist, MediaFiles& mediaFiles, PlaylistFiles& playlistFiles,
            MainWindowActions actions, QWidget* parent = nullptr);
    ~frmMain() override;

    // Load steps asked of the window.
    void SetSkinFile(const QString& path) override;
    void SizeSkinControls() override;
    void AttachSkins() override;
    void SetStayOnTop(bool onTop) override;
    void CentreOnScreen() override;
    void ShowWindow() override;

    [[nodiscard]] QListView& ListBoxDisplay() { return *m_list; }
    [[nodiscard]] SkinForm& SkinForm1() { return m_skinForm; }
    [[nodiscard]] QMenu& Menu() { return *m_menu; }

    // Where the window goes on a screen of the given size: the remainders of the halves are
    // dropped (toward zero, so a window larger than the screen sticks out equally).
    [[nodiscard]] static QPoint CentredPosition(QSize screen, QSize window);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void WireRoutines();
    void ShowSelection(int index);

    Playlist& m_playlist;
    MediaFiles& m_mediaFiles;
    PlaylistFiles& m_playlistFiles;
    MainWindowActions m_actions;
    PlaylistModel* m_model = nullptr;
    PlainSkinForm m_skinForm;
    QListView* m_list = nullptr;
    QLabel* m_textTotalFiles = nullptr;
    QLabel* m_textPosition = nullptr;
    QMenu* m_menu = nullptr;
    PlainSkinButton* m_skinButtonMenu = nullptr;
    PlainSkinButton* m_skinButtonOpen = nullptr;
    PlainSkinButton* m_skinButtonAdd = nullptr;
    PlainSkinButton* m_skinButtonRemove = nullptr;
    PlainSkinButton* m_skinButtonClearList = nullptr;
    PlainSkinButton* m_skinButtonUp = nullptr;
    PlainSkinButton* m_skinButtonDown = nullptr;
    PlainSkinButton* m_skinButtonOpenList = nullptr;
    PlainSkinButton* m_skinButtonSaveList = nullptr;
};

} // namespace quillet
