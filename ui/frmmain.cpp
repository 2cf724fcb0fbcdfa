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
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace quillet {

namespace {

constexpr int PositionKeyStepMs = 5000;   // arrow keys on the position slider
constexpr int PositionPageStepMs = 30000; // page keys and clicks beside the thumb
constexpr int BandSliderHeight = 72;

QLabel* NamedLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

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
    const auto button = [this](const char* name, const char* element, const QString& caption,
                               const QString& tip) {
        auto* b =
            new PlainSkinButton(QLatin1String(name), QLatin1String(element), caption, false, this);
        b->setToolTip(tip);
        return b;
    };
    const auto bound = [this](const char* name, const char* element, const QString& caption,
                              ButtonControl& control, const QString& tip) {
        auto* b = new PlainSkinButton(QLatin1String(name), QLatin1String(element), caption, control,
                                      this);
        b->setToolTip(tip);
        return b;
    };
    const auto icon = [this](PlainSkinButton* b, QStyle::StandardPixmap pixmap) {
        b->setIcon(style()->standardIcon(pixmap));
        return b;
    };
    Transport& transport = m_parts.transport;
    EndOfTrack& endOfTrack = m_parts.endOfTrack;
    Buttons& b = m_buttons;
    b.menu = button("SkinButtonMenu", "ButtonSettings", tr("Menu"), tr("Show the menu"));
    b.play = icon(button("SkinButtonPlay", "ButtonPlay", {}, tr("Play the selected entry")),
                  QStyle::SP_MediaPlay);
    b.pause = icon(button("SkinButtonPause", "ButtonPause", {}, tr("Pause or resume")),
                   QStyle::SP_MediaPause);
    b.stop = icon(button("SkinButtonStop", "ButtonStop", {}, tr("Stop")), QStyle::SP_MediaStop);
    b.rewind = icon(bound("SkinButtonRewind", "ButtonRewind", {}, transport.SkinButtonRewind(),
                          tr("Back five seconds")),
                    QStyle::SP_MediaSeekBackward);
    b.forward = icon(bound("SkinButtonForward", "ButtonForward", {}, transport.SkinButtonForward(),
                           tr("Forward five seconds")),
                     QStyle::SP_MediaSeekForward);
    b.open = button("SkinButtonOpen", "ButtonOpen", tr("Open"), tr("Add media files"));
    b.cdPlayer = button("SkinButtonCDPlayer", "ButtonCD", tr("CD Player"),
                        tr("List the tracks of the audio CD"));
    b.continuePlay = bound("SkinButtonContinue", "ButtonContinue", tr("Continue"),
                           endOfTrack.SkinButtonContinue(),
                           tr("Continuous play: go on with the next entry when a track ends"));
    b.shuffle =
        bound("SkinButtonShuffle", "ButtonShuffle", tr("Shuffle"), endOfTrack.SkinButtonShuffle(),
              tr("Shuffle: continuous play picks a random entry"));
    b.presets = button("SkinButtonPresets", "ButtonPresets", tr("Presets"),
                       tr("Choose an equalizer preset"));
    b.add = button("SkinButtonAdd", "ButtonAdd", tr("Add"), tr("Add media files"));
    b.remove =
        button("SkinButtonRemove", "ButtonRemove", tr("Remove"), tr("Remove the selected entry"));
    b.clearList =
        button("SkinButtonClearList", "ButtonRemoveAll", tr("Clear"), tr("Clear the playlist"));
    b.openList =
        button("SkinButtonOpenList", "ButtonOpenList", tr("Open list"), tr("Open a playlist file"));
    b.saveList = button("SkinButtonSaveList", "ButtonSaveList", tr("Save list"),
                        tr("Save the playlist to a file"));
    b.up = button("SkinButtonUp", "ButtonUp", tr("Up"), tr("Move the selected entry up"));
    b.down = button("SkinButtonDown", "ButtonDown", tr("Down"), tr("Move the selected entry down"));

    BuildMenus();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);
    layout->addLayout(BuildPlayerRows());
    layout->addLayout(BuildEqualizer());
    layout->addLayout(BuildPlaylistRows(), 1);
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

// Title, time, volume and balance, the transport buttons and the position slider.
QLayout* frmMain::BuildPlayerRows()
{
    m_textDisplay = NamedLabel("TextDisplay", this);
    m_textDisplay->setFrameShape(QFrame::StyledPanel);
    m_textDisplay->setFrameShadow(QFrame::Sunken);
    // The marquee text is longer than the box; it is cut, never widens the window.
    m_textDisplay->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_textDisplay->setMinimumHeight(m_textDisplay->fontMetrics().height() + 6);
    m_textDisplay->setToolTip(tr("The title that plays"));
    m_textTime = NamedLabel("TextTime", this);
    QFont timeFont = m_textTime->font();
    timeFont.setPointSizeF(timeFont.pointSizeF() * 2);
    timeFont.setBold(true);
    m_textTime->setFont(timeFont);
    m_textTime->setToolTip(tr("Elapsed time"));

    VolumeBalance& volumeBalance = m_parts.volumeBalance;
    m_volume = new PlainSkinScrollBar(QStringLiteral("SkinScrollBarVolume"),
                                      QStringLiteral("HScrollVolume"),
                                      volumeBalance.SkinScrollBarVolume(), this);
    m_volume->setSingleStep(VolumeBalance::VolumeSmallStep);
    m_volume->setPageStep(VolumeBalance::VolumeLargeStep);
    m_volume->setToolTip(tr("Volume"));
    m_balance = new PlainSkinScrollBar(QStringLiteral("SkinScrollBarBalance"),
                                       QStringLiteral("HScrollVolume"),
                                       volumeBalance.SkinScrollBarBalance(), this);
    m_balance->setSingleStep(VolumeBalance::BalanceSmallStep);
    m_balance->setPageStep(VolumeBalance::BalanceLargeStep);
    m_balance->setToolTip(tr("Balance"));
    auto* bars = new QGridLayout;
    m_labelVolume = new PlainSkinLabel(QStringLiteral("SkinLabelVolume"), QStringLiteral("Label"),
                                       tr("Vol"), this);
    m_labelBalance = new PlainSkinLabel(QStringLiteral("SkinLabelBalance"), QStringLiteral("Label"),
                                        tr("Bal"), this);
    bars->addWidget(m_labelVolume, 0, 0);
    bars->addWidget(m_volume, 0, 1);
    bars->addWidget(m_labelBalance, 1, 0);
    bars->addWidget(m_balance, 1, 1);
    bars->setColumnMinimumWidth(1, 120);

    m_slider1 = new PlainSlider(QStringLiteral("Slider1"), m_parts.transport.Slider1(),
                                Qt::Horizontal, this);
    m_slider1->setSingleStep(PositionKeyStepMs);
    m_slider1->setPageStep(PositionPageStepMs);
    m_slider1->setToolTip(tr("Position: drag to move through the track"));

    auto* title = new QHBoxLayout;
    title->addWidget(m_buttons.menu);
    title->addWidget(m_textDisplay, 1);
    auto* time = new QHBoxLayout;
    time->addWidget(m_textTime);
    time->addStretch();
    time->addLayout(bars);
    auto* transport = new QHBoxLayout;
    transport->setSpacing(2);
    for (PlainSkinButton* b :
         {m_buttons.play, m_buttons.pause, m_buttons.stop, m_buttons.rewind, m_buttons.forward})
        transport->addWidget(b);
    transport->addSpacing(8);
    transport->addWidget(m_buttons.open);
    transport->addStretch();
    transport->addWidget(m_buttons.continuePlay);
    transport->addWidget(m_buttons.shuffle);
    auto* rows = new QVBoxLayout;
    rows->addLayout(title);
    rows->addLayout(time);
    rows->addLayout(transport);
    rows->addWidget(m_slider1);
    return rows;
}

// The ten band sliders under their captions, with the CD and preset buttons beside them.
QLayout* frmMain::BuildEqualizer()
{
    auto* bands = new QGridLayout;
    bands->setHorizontalSpacing(4);
    bands->setVerticalSpacing(0);
    for (int k = 0; k < EqualizerPresets::BandCount; ++k) {
        auto* caption =
            new QLabel(QString::fromLatin1(EqualizerPresets::Captions[size_t(k)]), this);
        caption->setObjectName(QStringLiteral("Label1_%1").arg(k));
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        QFont small = caption->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        caption->setFont(small);
        auto* slider = new PlainSlider(QStringLiteral("SliderBand%1").arg(k),
                                       m_parts.equalizer.SliderBand(k), Qt::Vertical, this);
        slider->setFixedHeight(BandSliderHeight);
        slider->setPageStep(4);
        slider->setTickPosition(QSlider::TicksRight); // marks at −16, 0 and +16 dB
        slider->setTickInterval(EqualizerPresets::MaxGain);
        slider->setToolTip(tr("%1 Hz band, dB").arg(caption->text()));
        m_sliderBand[size_t(k)] = slider;
        bands->addWidget(caption, 0, k);
        bands->addWidget(slider, 1, k, Qt::AlignHCenter);
    }
    auto* side = new QVBoxLayout;
    side->addWidget(m_buttons.presets);
    side->addStretch();
    side->addWidget(m_buttons.cdPlayer);
    auto* row = new QHBoxLayout;
    row->addLayout(bands, 1);
    row->addSpacing(8);
    row->addLayout(side);
    return row;
}

// The playlist buttons, the visible list, its totals and the move buttons.
QLayout* frmMain::BuildPlaylistRows()
{
    m_model = new PlaylistModel(m_parts.playlist, this);
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("ListBoxDisplay"));
    m_list->setModel(m_model);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setUniformItemSizes(true); // 32,767 rows lay out without measuring each
    m_list->setContextMenuPolicy(Qt::NoContextMenu);
    m_list->setToolTip(tr("Double-click an entry to play it"));
    m_list->installEventFilter(this);
    m_textTotalFiles = NamedLabel("TextTotalFiles", this);
    m_textPosition = NamedLabel("TextPosition", this);
    // Room for the longest texts ("Total: 32767", "Pos: 32767") whatever they show now.
    for (QLabel* text : {m_textTotalFiles, m_textPosition})
        text->setMinimumWidth(
            text->fontMetrics().horizontalAdvance(QStringLiteral("Total: 32767 ")));

    auto* files = new QHBoxLayout;
    for (PlainSkinButton* b : {m_buttons.add, m_buttons.remove, m_buttons.clearList})
        files->addWidget(b);
    files->addStretch();
    files->addWidget(m_buttons.openList);
    files->addWidget(m_buttons.saveList);
    auto* status = new QHBoxLayout;
    status->addWidget(m_textTotalFiles);
    status->addWidget(m_textPosition);
    status->addStretch();
    status->addWidget(m_buttons.up);
    status->addWidget(m_buttons.down);
    auto* rows = new QVBoxLayout;
    rows->addLayout(files);
    rows->addWidget(m_list, 1);
    rows->addLayout(status);
    return rows;
}

// Top to bottom, left to right, as the controls are laid out.
void frmMain::SetTabOrder()
{
    const Buttons& b = m_buttons;
    QList<QWidget*> order{b.menu, b.play,         b.pause,   b.stop,   b.rewind,  b.forward,
                          b.open, b.continuePlay, b.shuffle, m_volume, m_balance, m_slider1};
    for (PlainSlider* slider : m_sliderBand)
        order.append(slider);
    order += {b.presets,  b.cdPlayer, b.add,  b.remove, b.clearList,
              b.openList, b.saveList, m_list, b.up,     b.down};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void frmMain::WireRoutines()
{
    const auto onClick = [this](PlainSkinButton* b, std::function<void()> routine) {
        connect(&b->Control(), &ButtonControl::clicked, this, std::move(routine));
    };
    Playlist& playlist = m_parts.playlist;
    MediaFiles& mediaFiles = m_parts.mediaFiles;
    PlaylistFiles& playlistFiles = m_parts.playlistFiles;
    Transport& transport = m_parts.transport;
    EndOfTrack& endOfTrack = m_parts.endOfTrack;
    onClick(m_buttons.menu, [this] { m_menu->popup(QCursor::pos()); });
    onClick(m_buttons.play, [&transport] { transport.PlaySelected(); });
    onClick(m_buttons.pause, [&transport] { transport.SkinButtonPause_Click(); });
    onClick(m_buttons.stop, [&transport] { transport.StopPlayback(); });
    onClick(m_buttons.rewind, [&transport] { transport.SkinButtonRewind_Click(); });
    onClick(m_buttons.forward, [&transport] { transport.SkinButtonForward_Click(); });
    onClick(m_buttons.continuePlay, [&endOfTrack] { endOfTrack.SkinButtonContinue_Click(); });
    onClick(m_buttons.shuffle, [&endOfTrack] { endOfTrack.SkinButtonShuffle_Click(); });
    onClick(m_buttons.cdPlayer, [this] { m_parts.audioCd.LoadCdTracks(); });
    onClick(m_buttons.presets, [this] { m_presetMenu->popup(QCursor::pos()); });
    onClick(m_buttons.open, [&mediaFiles] { mediaFiles.AddFilesDialog(); });
    onClick(m_buttons.add, [&mediaFiles] { mediaFiles.AddFilesDialog(); });
    onClick(m_buttons.remove, [&playlist] { playlist.RemoveSelectedEntry(); });
    onClick(m_buttons.clearList, [&playlist] { playlist.ClearPlaylist(); });
    onClick(m_buttons.up, [&playlist] { playlist.MoveEntryUp(); });
    onClick(m_buttons.down, [&playlist] { playlist.MoveEntryDown(); });
    onClick(m_buttons.openList, [&playlistFiles] { playlistFiles.OpenListDialog(); });
    onClick(m_buttons.saveList, [&playlistFiles] { playlistFiles.SaveListDialog(); });
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
