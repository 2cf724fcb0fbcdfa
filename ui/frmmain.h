// The main window in its plain form (no skin yet): transport buttons, time and title texts,
// the position slider, continuous play and shuffle, the CD and preset buttons, the ten band
// sliders, volume and balance, and the playlist with its buttons and texts; a popup menu with
// the options and Exit. It only creates controls, binds them to the routine objects that own
// their state and forwards events. UI thread only. Sizes and positions in pixels.
#pragma once

#include "sound/equalizerpresets.h"
#include "ui/mainwindowsteps.h"
#include "ui/plainskin.h"

#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QLabel;
class QListView;
class QMenu;

namespace quillet {

class AudioCd;
class EndOfTrack;
class MediaFiles;
class Playlist;
class PlaylistFiles;
class PlaylistModel;
class SongDetails;
class TimeDisplay;
class Transport;
class VolumeBalance;

// The routine objects behind the window's controls; they outlive the window.
struct MainWindowParts {
    Playlist& playlist;
    MediaFiles& mediaFiles;
    PlaylistFiles& playlistFiles;
    SongDetails& songDetails;
    AudioCd& audioCd;
    Transport& transport;
    TimeDisplay& timeDisplay;
    EndOfTrack& endOfTrack;
    EqualizerPresets& equalizer;
    VolumeBalance& volumeBalance;
};

// The routines behind the window's events that live above the window.
struct MainWindowActions {
    std::function<void()> FormUnload; // the window is closed by the system
    std::function<void()> ExitClick;  // menu Exit
};

class frmMain : public QWidget, public MainWindowSteps {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 314;
    static constexpr int DesignHeight = 404;

    frmMain(const MainWindowParts& parts, MainWindowActions actions, QWidget* parent = nullptr);
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
    [[nodiscard]] QMenu& PresetMenu() { return *m_presetMenu; }

    // Where the window goes on a screen of the given size: the remainders of the halves are
    // dropped (toward zero, so a window larger than the screen sticks out equally).
    [[nodiscard]] static QPoint CentredPosition(QSize screen, QSize window);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Buttons {
        PlainSkinButton* menu;
        PlainSkinButton* play;
        PlainSkinButton* pause;
        PlainSkinButton* stop;
        PlainSkinButton* rewind;
        PlainSkinButton* forward;
        PlainSkinButton* open;
        PlainSkinButton* cdPlayer;
        PlainSkinButton* continuePlay;
        PlainSkinButton* shuffle;
        PlainSkinButton* presets;
        PlainSkinButton* add;
        PlainSkinButton* remove;
        PlainSkinButton* clearList;
        PlainSkinButton* openList;
        PlainSkinButton* saveList;
        PlainSkinButton* up;
        PlainSkinButton* down;
    };

    void BuildControls();
    void BuildButtons();
    void BuildMenus();
    QLayout* BuildPlayerRows();
    QLayout* BuildEqualizer();
    QLayout* BuildPlaylistRows();
    void SetTabOrder();
    [[nodiscard]] std::vector<SkinControl*> SkinnedControls() const;
    void WireRoutines();
    void ShowSelection(int index);

    MainWindowParts m_parts;
    MainWindowActions m_actions;
    PlaylistModel* m_model = nullptr;
    PlainSkinForm m_skinForm;
    Buttons m_buttons{};
    QListView* m_list = nullptr;
    QLabel* m_textTotalFiles = nullptr;
    QLabel* m_textPosition = nullptr;
    QLabel* m_textTime = nullptr;
    QLabel* m_textDisplay = nullptr;
    PlainSlider* m_slider1 = nullptr;
    std::array<PlainSlider*, EqualizerPresets::BandCount> m_sliderBand{};
    PlainSkinScrollBar* m_volume = nullptr;
    PlainSkinScrollBar* m_balance = nullptr;
    PlainSkinLabel* m_labelVolume = nullptr;
    PlainSkinLabel* m_labelBalance = nullptr;
    QMenu* m_menu = nullptr;
    QMenu* m_presetMenu = nullptr;
};

} // namespace quillet
