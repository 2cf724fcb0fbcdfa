#include "ui/frmmain.h"

#include "playback/audiocd.h"
#include "playback/endoftrack.h"
#include "playback/timedisplay.h"
#include "playback/transport.h"
#include "playlist/mediafiles.h"
#include "playlist/playlist.h"
#include "playlist/playlistfiles.h"
#include "playlist/playlistmodel.h"
#include "sound/volumebalance.h"
#include "tags/songdetails.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace quillet {

frmMain::frmMain(const MainWindowParts& parts, MainWindowActions actions, QWidget* parent)
    : QWidget(parent), m_parts(parts), m_actions(std::move(actions))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral(" Quillet Jukebox"));
    BuildControls();
    WireRoutines();
    SetTabOrder();
    // As small as the controls allow, never below the design size.
    setFixedSize(sizeHint().expandedTo({DesignWidth, DesignHeight}));
}

frmMain::~frmMain() = default;

void frmMain::BuildControls()
{
    BuildButtons();
    BuildMenus();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);
    layout->addLayout(BuildPlayerRows());
    layout->addLayout(BuildEqualizer());
    layout->addLayout(BuildPlaylistRows(), 1);
}

// Each button with its skin element, caption or icon, tooltip, the state it shows (its own
// unless a routine owns it) and the routine its click runs.
void frmMain::BuildButtons()
{
    Playlist& list = m_parts.playlist;
    MediaFiles& media = m_parts.mediaFiles;
    PlaylistFiles& files = m_parts.playlistFiles;
    Transport& transport = m_parts.transport;
    EndOfTrack& options = m_parts.endOfTrack;
    constexpr auto Text = QStyle::SP_CustomBase; // a caption, no icon
    const struct {
        PlainSkinButton* Buttons::*slot;
        const char* name;
        const char* element;
        const char* caption;
        QStyle::StandardPixmap icon;
        const char* tip;
        ButtonControl* state;
        std::function<void()> routine;
    } table[] = {
        {&Buttons::menu, "SkinButtonMenu", "ButtonSettings", QT_TR_NOOP("Menu"), Text,
         QT_TR_NOOP("Show the menu"), nullptr, [this] { m_menu->popup(QCursor::pos()); }},
        {&Buttons::play, "SkinButtonPlay", "ButtonPlay", "", QStyle::SP_MediaPlay,
         QT_TR_NOOP("Play the selected entry"), nullptr, [&] { transport.PlaySelected(); }},
        {&Buttons::pause, "SkinButtonPause", "ButtonPause", "", QStyle::SP_MediaPause,
         QT_TR_NOOP("Pause or resume"), nullptr, [&] { transport.SkinButtonPause_Click(); }},
        {&Buttons::stop, "SkinButtonStop", "ButtonStop", "", QStyle::SP_MediaStop,
         QT_TR_NOOP("Stop"), nullptr, [&] { transport.StopPlayback(); }},
        {&Buttons::rewind, "SkinButtonRewind", "ButtonRewind", "", QStyle::SP_MediaSeekBackward,
         QT_TR_NOOP("Back five seconds"), &transport.SkinButtonRewind(),
         [&] { transport.SkinButtonRewind_Click(); }},
        {&Buttons::forward, "SkinButtonForward", "ButtonForward", "", QStyle::SP_MediaSeekForward,
         QT_TR_NOOP("Forward five seconds"), &transport.SkinButtonForward(),
         [&] { transport.SkinButtonForward_Click(); }},
        {&Buttons::open, "SkinButtonOpen", "ButtonOpen", QT_TR_NOOP("Open"), Text,
         QT_TR_NOOP("Add media files"), nullptr, [&] { media.AddFilesDialog(); }},
        {&Buttons::continuePlay, "SkinButtonContinue", "ButtonContinue", QT_TR_NOOP("Continue"),
         Text, QT_TR_NOOP("Continuous play: go on with the next entry when a track ends"),
         &options.SkinButtonContinue(), [&] { options.SkinButtonContinue_Click(); }},
        {&Buttons::shuffle, "SkinButtonShuffle", "ButtonShuffle", QT_TR_NOOP("Shuffle"), Text,
         QT_TR_NOOP("Shuffle: continuous play picks a random entry"), &options.SkinButtonShuffle(),
         [&] { options.SkinButtonShuffle_Click(); }},
        {&Buttons::presets, "SkinButtonPresets", "ButtonPresets", QT_TR_NOOP("Presets"), Text,
         QT_TR_NOOP("Choose an equalizer preset"), nullptr,
         [this] { m_presetMenu->popup(QCursor::pos()); }},
        {&Buttons::cdPlayer, "SkinButtonCDPlayer", "ButtonCD", QT_TR_NOOP("CD Player"), Text,
         QT_TR_NOOP("List the tracks of the audio CD"), nullptr,
         [this] { m_parts.audioCd.LoadCdTracks(); }},
        {&Buttons::add, "SkinButtonAdd", "ButtonAdd", QT_TR_NOOP("Add"), Text,
         QT_TR_NOOP("Add media files"), nullptr, [&] { media.AddFilesDialog(); }},
        {&Buttons::remove, "SkinButtonRemove", "ButtonRemove", QT_TR_NOOP("Remove"), Text,
         QT_TR_NOOP("Remove the selected entry"), nullptr, [&] { list.RemoveSelectedEntry(); }},
        {&Buttons::clearList, "SkinButtonClearList", "ButtonRemoveAll", QT_TR_NOOP("Clear"), Text,
         QT_TR_NOOP("Clear the playlist"), nullptr, [&] { list.ClearPlaylist(); }},
        {&Buttons::openList, "SkinButtonOpenList", "ButtonOpenList", QT_TR_NOOP("Open list"), Text,
         QT_TR_NOOP("Open a playlist file"), nullptr, [&] { files.OpenListDialog(); }},
        {&Buttons::saveList, "SkinButtonSaveList", "ButtonSaveList", QT_TR_NOOP("Save list"), Text,
         QT_TR_NOOP("Save the playlist to a file"), nullptr, [&] { files.SaveListDialog(); }},
        {&Buttons::up, "SkinButtonUp", "ButtonUp", QT_TR_NOOP("Up"), Text,
         QT_TR_NOOP("Move the selected entry up"), nullptr, [&] { list.MoveEntryUp(); }},
        {&Buttons::down, "SkinButtonDown", "ButtonDown", QT_TR_NOOP("Down"), Text,
         QT_TR_NOOP("Move the selected entry down"), nullptr, [&] { list.MoveEntryDown(); }},
    };
    for (const auto& row : table) {
        const QString name = QLatin1String(row.name), element = QLatin1String(row.element);
        const QString caption = *row.caption ? tr(row.caption) : QString();
        auto* button = row.state ? new PlainSkinButton(name, element, caption, *row.state, this)
                                 : new PlainSkinButton(name, element, caption, false, this);
        button->setToolTip(tr(row.tip));
        if (row.icon != Text)
            button->setIcon(style()->standardIcon(row.icon));
        connect(&button->Control(), &ButtonControl::clicked, this, row.routine);
        m_buttons.*row.slot = button;
    }
}

void frmMain::BuildMenus()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("menu1"));
    QMenu* options = m_menu->addMenu(tr("&Options"));
    options->setObjectName(QStringLiteral("options"));
    EndOfTrack& endOfTrack = m_parts.endOfTrack;
    QAction* contPlay = options->addAction(tr("&Continuous Play"));
    contPlay->setObjectName(QStringLiteral("contPlay"));
    BindCheckItem(*contPlay, endOfTrack.contPlay(), [&endOfTrack] { endOfTrack.contPlay_Click(); });
    QAction* randOrder = options->addAction(tr("&Shuffle"));
    randOrder->setObjectName(QStringLiteral("randOrder"));
    BindCheckItem(*randOrder, endOfTrack.randOrder(),
                  [&endOfTrack] { endOfTrack.randOrder_Click(); });
    m_menu->addSeparator();
    QAction* exitItem = m_menu->addAction(tr("E&xit"));
    exitItem->setObjectName(QStringLiteral("exit"));
    connect(exitItem, &QAction::triggered, this, [this] {
        if (m_actions.ExitClick)
            m_actions.ExitClick();
    });

    // The preset items in their menu order, each checked from its preset's mark.
    m_presetMenu = new QMenu(this);
    m_presetMenu->setObjectName(QStringLiteral("presetMenu"));
    EqualizerPresets& equalizer = m_parts.equalizer;
    for (const EqualizerPresets::MenuEntry& entry : EqualizerPresets::Menu) {
        const int number = QByteArray(entry.number).toInt();
        QAction* item = number > 0 ? m_presetMenu->addAction(QString::fromUtf8(entry.caption))
                                   : m_presetMenu->addSeparator();
        item->setObjectName(QLatin1String(entry.name));
        if (number > 0)
            BindCheckItem(*item, equalizer.PresetItem(number),
                          [&equalizer, number] { equalizer.ChoosePreset(number); });
    }
}

void frmMain::WireRoutines()
{
    Playlist& playlist = m_parts.playlist;
    Transport& transport = m_parts.transport;
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(mapToGlobal(at)); });

    BindText(*m_textTime, m_parts.timeDisplay.TextTime());
    SongDetails& songDetails = m_parts.songDetails;
    m_textDisplay->setText(songDetails.TextDisplay());
    connect(&songDetails, &SongDetails::changed, m_textDisplay,
            [this, &songDetails] { m_textDisplay->setText(songDetails.TextDisplay()); });

    // The user's selection runs the selection rule; the playlist's selection shows in the view.
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [&playlist](const QModelIndex& current) {
                if (current.isValid() && current.row() != playlist.SelectedIndex())
                    playlist.Select(current.row());
            });
    connect(&playlist, &Playlist::selectionChanged, this, &frmMain::ShowSelection);
    connect(&playlist, &Playlist::cleared, this, [this] { ShowSelection(-1); });
    connect(m_list, &QListView::doubleClicked, this, [&transport] { transport.PlaySelected(); });
    connect(&playlist, &Playlist::textsChanged, this, [this, &playlist] {
        m_textTotalFiles->setText(playlist.TextTotalFiles());
        m_textPosition->setText(playlist.TextPosition());
    });
}

void frmMain::ShowSelection(int index)
{
    QItemSelectionModel* selection = m_list->selectionModel();
    if (index < 0 || index >= m_model->rowCount()) {
        selection->clear();
        return;
    }
    const QModelIndex item = m_model->index(index);
    if (selection->currentIndex() != item || !selection->isSelected(item))
        selection->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
    m_list->scrollTo(item);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete) {
            m_parts.playlist.RemoveSelectedEntry();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_parts.transport.PlaySelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (m_actions.FormUnload)
        m_actions.FormUnload();
}

void frmMain::SetSkinFile(const QString& path)
{
    m_skinForm.SetSkinFile(path);
}

// The plain window lays its controls out itself; the skinned window sets design sizes here.
void frmMain::SizeSkinControls() {}

void frmMain::AttachSkins()
{
    for (SkinControl* control : SkinnedControls())
        control->AttachSkin(m_skinForm);
}

// In the order the skin binds them.
std::vector<SkinControl*> frmMain::SkinnedControls() const
{
    const Buttons& b = m_buttons;
    return {b.play,    b.pause,       b.stop,         b.rewind,       b.forward,   b.open,
            b.presets, b.add,         b.remove,       b.openList,     b.clearList, b.saveList,
            b.up,      b.down,        b.shuffle,      b.continuePlay, b.menu,      m_balance,
            m_volume,  m_labelVolume, m_labelBalance, b.cdPlayer};
}

void frmMain::SetStayOnTop(bool onTop)
{
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop); // hides a shown window; show it again
    if (wasVisible)
        show();
}

QPoint frmMain::CentredPosition(QSize screen, QSize window)
{
    return {(screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2};
}

void frmMain::CentreOnScreen()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize outer = isVisible() ? frameGeometry().size() : size();
    move(area.topLeft() + CentredPosition(area.size(), outer));
}

void frmMain::ShowWindow()
{
    show();
}

} // namespace quillet
