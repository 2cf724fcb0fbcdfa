// The main window's controls at their places: the buttons with their skin elements, the bars,
// the text displays, the live displays, the equalizer and the playlist, and the tab order
// through them. UI thread only. Positions and sizes in pixels of the client area.
#include "ui/frmmain.h"

#include "components/displays/bandslider.h"
#include "components/displays/levelmeter.h"
#include "components/displays/levelscale.h"
#include "components/displays/meterpanel.h"
#include "components/displays/oscilloscope.h"
#include "components/displays/positionslider.h"
#include "components/displays/spectrumdisplay.h"
#include "components/displays/visualiser.h"
#include "components/skin/skinbutton.h"
#include "components/skin/skinlabel.h"
#include "components/skin/skinpicture.h"
#include "components/skin/skinscrollbar.h"
#include "playback/audiocd.h"
#include "playback/endoftrack.h"
#include "playback/transport.h"
#include "playlist/mediafiles.h"
#include "playlist/playlist.h"
#include "playlist/playlistfiles.h"
#include "playlist/playlistmodel.h"
#include "sound/volumebalance.h"
#include "ui/frmmenu.h"
#include "ui/skinlook.h"
#include "ui/weblinks.h"

#include <QLabel>
#include <QListView>
#include <QMenu>

namespace quillet {

namespace {

constexpr int PositionKeyStepMs = 5000;   // arrow keys and wheel on the position slider
constexpr int PositionPageStepMs = 30000; // page keys and clicks beside the thumb

// The band sliders and their captions, spaced evenly under the spectrum.
constexpr QRect BandSliderRect(int band)
{
    return {21 + 28 * band, 176, 17, 41};
}
constexpr QRect BandCaptionRect(int band)
{
    return {16 + 28 * band, 219, 27, 10};
}

QLabel* TextBox(const char* name, QRect place, const QFont& font, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(place);
    label->setFont(font);
    return label;
}

} // namespace

// Each button with its skin element, design text, place, tooltip, the state it shows (its own
// unless a routine owns it) and the routine its click runs.
void frmMain::BuildButtons()
{
    Playlist& list = m_parts.playlist;
    MediaFiles& media = m_parts.mediaFiles;
    PlaylistFiles& files = m_parts.playlistFiles;
    Transport& transport = m_parts.transport;
    EndOfTrack& options = m_parts.endOfTrack;
    WebLinks& links = m_parts.webLinks;
    const struct {
        SkinButtonWidget* Buttons::*slot;
        const char* name;
        const char* element;
        const char* caption; // the design text, or what the plain look shows
        QRect place;
        const char* tip;
        ButtonControl* state;
        std::function<void()> routine;
    } table[] = {
        {&Buttons::menu,
         "SkinButtonMenu",
         "ButtonSettings",
         "menu",
         {8, 8, 58, 12},
         QT_TR_NOOP("Menu"),
         nullptr,
         [this] { m_frmMenu->SkinButtonMenu_Click(); }},
        {&Buttons::quillet,
         "SkinButtonQuillet",
         "ButtonQuillet",
         "quillet",
         {234, 8, 68, 12},
         QT_TR_NOOP("Websites"),
         nullptr,
         [this] { m_frmMenu->SkinButtonQuillet_Click(); }},
        {&Buttons::cdPlayer,
         "SkinButtonCDPlayer",
         "ButtonCD",
         "CD Player",
         {216, 80, 54, 10},
         QT_TR_NOOP("List the tracks of the audio CD"),
         nullptr,
         [this] { m_parts.audioCd.LoadCdTracks(); }},
        {&Buttons::continuePlay,
         "SkinButtonContinue",
         "ButtonContinue",
         "continue",
         {184, 96, 57, 10},
         QT_TR_NOOP("Continuous play: go on with the next entry"),
         &options.SkinButtonContinue(),
         [&] { options.SkinButtonContinue_Click(); }},
        {&Buttons::shuffle,
         "SkinButtonShuffle",
         "ButtonShuffle",
         "shuffle",
         {248, 96, 51, 10},
         QT_TR_NOOP("Shuffle: continuous play picks a random entry"),
         &options.SkinButtonShuffle(),
         [&] { options.SkinButtonShuffle_Click(); }},
        {&Buttons::presets,
         "SkinButtonPresets",
         "ButtonPresets",
         "pre",
         {256, 144, 43, 10},
         QT_TR_NOOP("Equalizer presets"),
         nullptr,
         [this] { m_presetMenu->popup(QCursor::pos()); }},
        {&Buttons::play,
         "SkinButtonPlay",
         "ButtonPlay",
         "\u25B6",
         {16, 88, 27, 18},
         QT_TR_NOOP("Play"),
         nullptr,
         [&] { transport.PlaySelected(); }},
        {&Buttons::pause,
         "SkinButtonPause",
         "ButtonPause",
         "II",
         {45, 88, 22, 18},
         QT_TR_NOOP("Pause / resume"),
         nullptr,
         [&] { transport.SkinButtonPause_Click(); }},
        {&Buttons::stop,
         "SkinButtonStop",
         "ButtonStop",
         "\u25A0",
         {69, 88, 22, 18},
         QT_TR_NOOP("Stop"),
         nullptr,
         [&] { transport.StopPlayback(); }},
        {&Buttons::rewind,
         "SkinButtonRewind",
         "ButtonRewind",
         "\u25C0\u25C0",
         {93, 88, 22, 18},
         QT_TR_NOOP("Back 5 seconds"),
         &transport.SkinButtonRewind(),
         [&] { transport.SkinButtonRewind_Click(); }},
        {&Buttons::forward,
         "SkinButtonForward",
         "ButtonForward",
         "\u25B6\u25B6",
         {117, 88, 22, 18},
         QT_TR_NOOP("Forward 5 seconds"),
         &transport.SkinButtonForward(),
         [&] { transport.SkinButtonForward_Click(); }},
        {&Buttons::open,
         "SkinButtonOpen",
         "ButtonOpen",
         "\u23CF",
         {152, 88, 22, 16},
         QT_TR_NOOP("Open media files"),
         nullptr,
         [&] { media.AddFilesDialog(); }},
        {&Buttons::add,
         "SkinButtonAdd",
         "ButtonAdd",
         "add",
         {10, 248, 43, 10},
         QT_TR_NOOP("Add media files to the playlist"),
         nullptr,
         [&] { media.AddFilesDialog(); }},
        {&Buttons::remove,
         "SkinButtonRemove",
         "ButtonRemove",
         "remove",
         {58, 248, 43, 10},
         QT_TR_NOOP("Remove the selected entry"),
         nullptr,
         [&] { list.RemoveSelectedEntry(); }},
        {&Buttons::clearList,
         "SkinButtonClearList",
         "ButtonRemoveAll",
         "clear",
         {105, 248, 57, 10},
         QT_TR_NOOP("Clear the playlist"),
         nullptr,
         [&] { list.ClearPlaylist(); }},
        {&Buttons::openList,
         "SkinButtonOpenList",
         "ButtonOpenList",
         "open list",
         {192, 248, 54, 10},
         QT_TR_NOOP("Open a playlist file"),
         nullptr,
         [&] { files.OpenListDialog(); }},
        {&Buttons::saveList,
         "SkinButtonSaveList",
         "ButtonSaveList",
         "save list",
         {248, 248, 54, 10},
         QT_TR_NOOP("Save the playlist to a file"),
         nullptr,
         [&] { files.SaveListDialog(); }},
        {&Buttons::up,
         "SkinButtonUp",
         "ButtonUp",
         "\u25B2",
         {117, 326, 14, 12},
         QT_TR_NOOP("Move the selected entry up"),
         nullptr,
         [&] { list.MoveEntryUp(); }},
        {&Buttons::down,
         "SkinButtonDown",
         "ButtonDown",
         "\u25BC",
         {133, 326, 14, 12},
         QT_TR_NOOP("Move the selected entry down"),
         nullptr,
         [&] { list.MoveEntryDown(); }},
        // Out of sight, as designed; it still opens the web site when clicked.
        {&Buttons::download,
         "SkinButtonDownload",
         "ButtonDownload",
         "down",
         {400, 264, 63, 18},
         QT_TR_NOOP("Visit the web site"),
         nullptr,
         [&] { links.OpenMakerSite(); }},
    };
    for (const auto& row : table) {
        const QString name = QLatin1String(row.name), element = QLatin1String(row.element);
        const QString caption = QString::fromUtf8(row.caption);
        auto* button = row.state ? new SkinButtonWidget(name, element, caption, *row.state, this)
                                 : new SkinButtonWidget(name, element, caption, false, this);
        button->setGeometry(row.place);
        button->setToolTip(tr(row.tip));
        button->setFont(SkinLook::SmallFont());
        connect(&button->Control(), &ButtonControl::clicked, this, row.routine);
        m_buttons.*row.slot = button;
    }
}

// Volume and balance share one skin element, so they look alike.
void frmMain::BuildBars()
{
    VolumeBalance& volumeBalance = m_parts.volumeBalance;
    const auto bar = [this](const char* name, ScrollBarControl& state, QRect place, int small,
                            int large, const QString& tip) {
        auto* bar = new SkinScrollBarWidget(QLatin1String(name), QStringLiteral("HScrollVolume"),
                                            state, this);
        bar->setGeometry(place);
        bar->SetSteps(small, large);
        bar->setToolTip(tip);
        return bar;
    };
    m_volume = bar("SkinScrollBarVolume", volumeBalance.SkinScrollBarVolume(), {208, 40, 73, 9},
                   VolumeBalance::VolumeSmallStep, VolumeBalance::VolumeLargeStep, tr("Volume"));
    m_balance =
        bar("SkinScrollBarBalance", volumeBalance.SkinScrollBarBalance(), {208, 56, 73, 9},
            VolumeBalance::BalanceSmallStep, VolumeBalance::BalanceLargeStep, tr("Balance"));
    const auto label = [this](const char* name, const QString& text, QRect place) {
        auto* label = new SkinLabelWidget(QLatin1String(name), QStringLiteral("Label"), text, this);
        label->setGeometry(place);
        label->setFont(SkinLook::SmallFont());
        return label;
    };
    m_labelVolume = label("SkinLabelVolume", tr("Vol"), {192, 40, 17, 9});
    m_labelBalance = label("SkinLabelBalance", tr("Bal"), {192, 56, 17, 9});
}

// The title marquee, the elapsed time and the position slider.
void frmMain::BuildTexts()
{
    m_textDisplay = TextBox("TextDisplay", {70, 8, 160, 19}, SkinLook::TextFont(), this);
    m_textDisplay->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_textDisplay->setIndent(3);
    m_textDisplay->setForegroundRole(QPalette::Text);
    m_textDisplay->setToolTip(tr("The title that plays"));
    m_textTime = TextBox("TextTime", {24, 24, 52, 17}, SkinLook::TimeFont(), this);
    m_textTime->setAlignment(Qt::AlignCenter);
    m_textTime->setForegroundRole(QPalette::Text);
    m_textTime->setToolTip(tr("Elapsed time"));

    m_slider1 = new PositionSlider(QStringLiteral("Slider1"), m_parts.transport.Slider1(), this);
    m_slider1->setGeometry(8, 110, 295, 17);
    m_slider1->SetSteps(PositionKeyStepMs, PositionPageStepMs);
    m_slider1->setToolTip(tr("Position: drag to move through the track"));
}

// The meters in their black panel with the scale and captions, the spectrum and the scope,
// all fed from what is audible now.
void frmMain::BuildDisplays()
{
    auto* panel = new MeterPanel(this);
    panel->setObjectName(QStringLiteral("PanelMeters"));
    panel->setGeometry(16, 40, 167, 41);
    auto* left = new LevelMeter(panel);
    left->setObjectName(QStringLiteral("LevelLeft"));
    left->setGeometry(16, 8, 131, 5);
    auto* right = new LevelMeter(panel);
    right->setObjectName(QStringLiteral("LevelRight"));
    right->setGeometry(16, 16, 131, 5);
    auto* scale = new LevelScale(panel);
    scale->setObjectName(QStringLiteral("LevelScale"));
    scale->setGeometry(32, 26, 115, 7);
    // The meters' range follows the scale, so each bar ends on its level's tick.
    scale->AlignMeter(*left);
    scale->AlignMeter(*right);
    const struct {
        const char* text;
        QRect place;
    } captions[] = {{"L", {8, 6, 4, 10}}, {"R", {7, 16, 6, 10}}, {"dB", {8, 25, 11, 10}}};
    for (const auto& caption : captions) {
        QLabel* label = TextBox("Label2", caption.place, SkinLook::SmallFont(), panel);
        label->setText(QLatin1String(caption.text));
    }

    auto* spectrum = new SpectrumDisplay(this);
    spectrum->setObjectName(QStringLiteral("Spectrum"));
    spectrum->setGeometry(16, 128, 233, 28);
    auto* scope = new Oscilloscope(this);
    scope->setObjectName(QStringLiteral("Oscope"));
    scope->setGeometry(43, 353, 229, 41);

    m_visualiser = new Visualiser(m_parts.connector, this);
    m_visualiser->Attach(left, right, spectrum, scope);
}

WindowSight& frmMain::Sight()
{
    return m_visualiser->Sight();
}

// The ten band sliders with their captions between the two decorative strips.
void frmMain::BuildEqualizer()
{
    const auto picture = [this](const char* name, QRect place) {
        auto* picture = new SkinPicture(QLatin1String(name), QLatin1String(name), this);
        picture->setGeometry(place);
        picture->AttachSkin(m_skinForm);
        return picture;
    };
    m_pictureEqualizer = picture("PictureEqualizer", {8, 160, 295, 9});
    m_picturePlaylist = picture("PicturePlaylist", {8, 343, 295, 9});
    picture("PictureSphereLeft", {14, 361, 24, 24});
    picture("PictureSphereRight", {276, 361, 24, 24});

    for (int k = 0; k < EqualizerPresets::BandCount; ++k) {
        const QString caption = QString::fromLatin1(EqualizerPresets::Captions[size_t(k)]);
        QLabel* label = TextBox("Label1", BandCaptionRect(k), SkinLook::SmallFont(), this);
        label->setText(caption);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        auto* slider = new BandSlider(QStringLiteral("SliderBand%1").arg(k),
                                      m_parts.equalizer.SliderBand(k), this);
        slider->setGeometry(BandSliderRect(k));
        slider->setToolTip(tr("%1 Hz: drag up to boost, down to cut").arg(caption));
        m_sliderBand[size_t(k)] = slider;
    }
}

// The visible list of display names with its totals.
void frmMain::BuildPlaylist()
{
    m_model = new PlaylistModel(m_parts.playlist, this);
    // Counted before the view hears of the change: its selection drops or moves with the rows
    // and the playlist's own selection follows when the operation ends.
    const auto begin = [this] { ++m_rowsChanging; };
    const auto end = [this] { --m_rowsChanging; };
    connect(m_model, &QAbstractItemModel::rowsAboutToBeRemoved, this, begin);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, end);
    connect(m_model, &QAbstractItemModel::rowsAboutToBeMoved, this, begin);
    connect(m_model, &QAbstractItemModel::rowsMoved, this, end);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, begin);
    connect(m_model, &QAbstractItemModel::modelReset, this, end);
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("ListBoxDisplay"));
    m_list->setGeometry(10, 259, 292, 64);
    m_list->setFont(SkinLook::TextFont());
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setModel(m_model);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setUniformItemSizes(true); // 32,767 rows lay out without measuring each
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setContextMenuPolicy(Qt::NoContextMenu);
    m_list->setToolTip(tr("Double-click an entry to play it"));
    m_list->installEventFilter(this);
    m_textTotalFiles = TextBox("TextTotalFiles", {10, 323, 52, 18}, SkinLook::CountFont(), this);
    m_textPosition = TextBox("TextPosition", {62, 323, 52, 18}, SkinLook::CountFont(), this);
}

// Top to bottom, left to right, as the controls sit.
void frmMain::SetTabOrder()
{
    const Buttons& b = m_buttons;
    QList<QWidget*> order{b.menu, b.quillet,      m_volume,  m_balance, b.cdPlayer,
                          b.play, b.pause,        b.stop,    b.rewind,  b.forward,
                          b.open, b.continuePlay, b.shuffle, m_slider1, b.presets};
    for (BandSlider* slider : m_sliderBand)
        order.append(slider);
    order += {b.add, b.remove, b.clearList, b.openList, b.saveList, m_list, b.up, b.down};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

} // namespace quillet
