// The main window: skinned buttons, the two skinned bars and their labels, the text displays,
// the position and band sliders, the live displays and the playlist, each at its fixed place
// in a 314 × 404 client area, painted from the skin file. It only creates controls, binds
// them to the routine objects that own their state and forwards events. UI thread only.
// Sizes and positions in pixels.
#pragma once

#include "components/skin/skinform.h"
#include "sound/equalizerpresets.h"
#include "ui/mainwindowsteps.h"
#include "ui/windowplacement.h"
#include "ui/windowsize.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QListView;
class QMenu;

namespace quillet {

class AudioCd;
class BandSlider;
class DesignScale;
class Connector;
class EndOfTrack;
class frmAbout;
class frmDetails;
class frmMenu;
class MediaFiles;
class Playlist;
class PlaylistFiles;
class PlaylistModel;
class PositionSlider;
class SkinButtonWidget;
class SkinControl;
class SkinLabelWidget;
class SkinPicture;
class SkinScrollBarWidget;
class SongDetails;
class TimeDisplay;
class Transport;
class Visualiser;
class VolumeBalance;
class WebLinks;
class WindowOptions;
class WindowSight;

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
    WindowOptions& windowOptions;
    WebLinks& webLinks;
    const Connector& connector; // what is audible now, for the live displays
};

// The routines behind the window's events that live above the window.
struct MainWindowActions {
    std::function<void()> FormUnload; // the window is closed by the system
    std::function<void()> ExitClick;  // menu Exit
    std::function<void(const QStringList&)> FilesDropped; // local files dropped, in order
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
    [[nodiscard]] SvgSkinForm& SkinForm1() { return m_skinForm; }
    [[nodiscard]] frmMenu& Menus() { return *m_frmMenu; }
    [[nodiscard]] QMenu& Menu();
    [[nodiscard]] QMenu& PresetMenu() { return *m_presetMenu; }
    [[nodiscard]] WindowPlacement& Placement() { return m_placement; }
    [[nodiscard]] WindowSize& Size() { return m_size; }
    // Whether anybody can see the window (shown, not minimised, exposed).
    [[nodiscard]] WindowSight& Sight();
    // The skinned controls in the order the skin binds them.
    [[nodiscard]] std::vector<SkinControl*> SkinnedControls() const;

    // Where the window goes on a screen of the given size: the remainders of the halves are
    // dropped (toward zero, so a window larger than the screen sticks out equally).
    [[nodiscard]] static QPoint CentredPosition(QSize screen, QSize window);

    // The menu's commands that open a window of their own: one live copy each.
    void songDetails_Click();
    void about_Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Buttons {
        SkinButtonWidget* menu;
        SkinButtonWidget* quillet;
        SkinButtonWidget* cdPlayer;
        SkinButtonWidget* continuePlay;
        SkinButtonWidget* shuffle;
        SkinButtonWidget* presets;
        SkinButtonWidget* play;
        SkinButtonWidget* pause;
        SkinButtonWidget* stop;
        SkinButtonWidget* rewind;
        SkinButtonWidget* forward;
        SkinButtonWidget* open;
        SkinButtonWidget* add;
        SkinButtonWidget* remove;
        SkinButtonWidget* clearList;
        SkinButtonWidget* openList;
        SkinButtonWidget* saveList;
        SkinButtonWidget* up;
        SkinButtonWidget* down;
        SkinButtonWidget* download;
    };

    void BuildButtons();
    void BuildBars();
    void BuildTexts();
    void BuildDisplays();
    void BuildEqualizer();
    void BuildPlaylist();
    void BuildMenus();
    void SetTabOrder();
    void WireRoutines();
    void ShowSelection(int index);
    void ApplySize();
    void ShowMainWindow();

    MainWindowParts m_parts;
    MainWindowActions m_actions;
    SvgSkinForm m_skinForm;
    WindowPlacement m_placement{*this};
    WindowSize m_size;
    std::unique_ptr<DesignScale> m_design; // the layout as designed, for the chosen size
    PlaylistModel* m_model = nullptr;
    QPoint m_centredAt;           // where CentreOnScreen put the frame's top-left
    bool m_centreByFrame = false; // centred by the inside: again once the frame is known
    int m_rowsChanging = 0;       // inside a removal, move or reset of the list's rows
    Buttons m_buttons{};
    QListView* m_list = nullptr;
    QLabel* m_textTotalFiles = nullptr;
    QLabel* m_textPosition = nullptr;
    QLabel* m_textTime = nullptr;
    QLabel* m_textDisplay = nullptr;
    PositionSlider* m_slider1 = nullptr;
    std::array<BandSlider*, EqualizerPresets::BandCount> m_sliderBand{};
    SkinScrollBarWidget* m_volume = nullptr;
    SkinScrollBarWidget* m_balance = nullptr;
    SkinLabelWidget* m_labelVolume = nullptr;
    SkinLabelWidget* m_labelBalance = nullptr;
    SkinPicture* m_pictureEqualizer = nullptr;
    SkinPicture* m_picturePlaylist = nullptr;
    Visualiser* m_visualiser = nullptr;
    frmMenu* m_frmMenu = nullptr;
    QMenu* m_presetMenu = nullptr;
    QPointer<frmDetails> m_details;
    QPointer<frmAbout> m_about;
};

} // namespace quillet
