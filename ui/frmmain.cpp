#include "ui/frmmain.h"

#include "platform/bytetext.h"

#include "components/displays/bandslider.h"
#include "components/displays/positionslider.h"
#include "components/skin/skinbutton.h"
#include "components/skin/skinlabel.h"
#include "components/skin/skinpicture.h"
#include "components/skin/skinscrollbar.h"
#include "playback/endoftrack.h"
#include "playback/timedisplay.h"
#include "playback/transport.h"
#include "playlist/playlist.h"
#include "playlist/playlistmodel.h"
#include "tags/songdetails.h"
#include "ui/controlbinding.h"
#include "ui/designscale.h"
#include "ui/frmabout.h"
#include "ui/frmdetails.h"
#include "ui/frmmenu.h"
#include "ui/skinlook.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace quillet {

frmMain::frmMain(const MainWindowParts& parts, MainWindowActions actions, QWidget* parent)
    : QWidget(parent), m_parts(parts), m_actions(std::move(actions)),
      m_size(QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->devicePixelRatio()
                                              : 1.0)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral(" Quillet Jukebox"));
    setPalette(SkinLook::Palette(palette()));
    setFont(SkinLook::TextFont());
    // The skin paints every pixel of the client area.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);
    BuildButtons();
    BuildBars();
    BuildTexts();
    BuildDisplays();
    BuildEqualizer();
    BuildPlaylist();
    BuildMenus();
    WireRoutines();
    SetTabOrder();
    setFixedSize(DesignWidth, DesignHeight);
    connect(&m_skinForm, &SvgSkinForm::skinChanged, this, qOverload<>(&QWidget::update));
    m_design = std::make_unique<DesignScale>(*this);
    ApplySize();
    connect(&m_size, &WindowSize::changed, this, &frmMain::ApplySize);
}

// The whole window at the chosen size as one picture: places, fonts and hit areas together;
// the skin is drawn afresh at the new sizes. Every other window of the program (menus,
// popups, dialogs) takes the skin's colours and text at the same size.
void frmMain::ApplySize()
{
    const qreal scale = m_size.LayoutScale();
    m_design->Apply(scale);
    for (BandSlider* slider : m_sliderBand)
        slider->ScaleThumb(scale);
    m_slider1->ScaleThumb(scale);
    QApplication::setPalette(SkinLook::Palette(QApplication::palette()));
    const QFont text = DesignScale::Scaled(SkinLook::DialogFont(), scale);
    QApplication::setFont(text);
    QApplication::setFont(text, "QTipLabel"); // the desktop may give tooltips a face of their own
    for (QMenu* menu : findChildren<QMenu*>())
        menu->setFont(text);
    if (m_about)
        m_about->ApplyScale(scale);
}

frmMain::~frmMain()
{
    // The dialogs are windows of their own; they go with the main window.
    delete m_details;
    delete m_about;
}

QMenu& frmMain::Menu()
{
    return m_frmMenu->menu1();
}

// The main menu with its commands, and the preset items in their menu order, each checked
// from its preset's mark.
void frmMain::BuildMenus()
{
    MenuParts menuParts{m_parts.endOfTrack,
                        m_parts.windowOptions,
                        m_size,
                        m_parts.webLinks,
                        m_placement,
                        [this] { songDetails_Click(); },
                        [this] { about_Click(); },
                        [this] {
                            if (m_actions.ExitClick)
                                m_actions.ExitClick();
                        }};
    m_frmMenu = new frmMenu(menuParts, this);

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
    // A right click anywhere on the window opens the main menu, as the Menu button does.
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this] { m_frmMenu->SkinButtonMenu_Click(); });

    BindText(*m_textTime, m_parts.timeDisplay.TextTime());
    SongDetails& songDetails = m_parts.songDetails;
    m_textDisplay->setText(songDetails.TextDisplay());
    connect(&songDetails, &SongDetails::changed, m_textDisplay,
            [this, &songDetails] { m_textDisplay->setText(songDetails.TextDisplay()); });

    // What the list shows selected is the playlist's selection: every gesture that selects
    // an entry or leaves none highlighted (a click on the blank space, Ctrl+click,
    // Ctrl+Space) runs the selection rule with it; the playlist's own selection shows back.
    QItemSelectionModel* shown = m_list->selectionModel();
    connect(shown, &QItemSelectionModel::selectionChanged, this, [this, &playlist, shown] {
        if (m_rowsChanging > 0)
            return; // the view adjusting to rows that come and go, not a gesture
        const QModelIndexList rows = shown->selectedRows();
        const int row = rows.isEmpty() ? -1 : rows.first().row();
        if (row != playlist.SelectedIndex())
            playlist.Select(row);
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
        selection->clearSelection(); // the keyboard goes on from the current entry
        return;
    }
    const QModelIndex item = m_model->index(index);
    if (selection->currentIndex() != item || !selection->isSelected(item))
        selection->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
    m_list->scrollTo(item);
}

void frmMain::songDetails_Click()
{
    OpenModeless(m_details, [this] {
        return new frmDetails(
            m_parts.songDetails, m_placement, [this] { ShowMainWindow(); }, m_size.LayoutScale());
    });
}

void frmMain::about_Click()
{
    OpenModeless(m_about, [this] {
        auto* about = new frmAbout(m_placement, m_parts.webLinks, [this] { ShowMainWindow(); });
        about->ApplyScale(m_size.LayoutScale());
        return about;
    });
}

void frmMain::ShowMainWindow()
{
    show();
    raise();
    activateWindow();
}

void frmMain::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    PaintForm(painter, m_skinForm, rect(), event->rect(), palette());
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

namespace {
// The paths of a drop that holds local files only; empty for anything else.
QStringList DroppedPaths(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        const QString path = PathFromFileUrl(url);
        if (path.isEmpty())
            return {};
        paths.append(path);
    }
    return paths;
}
} // namespace

void frmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (m_actions.FilesDropped && !DroppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event)
{
    const QStringList paths = DroppedPaths(event->mimeData());
    if (paths.isEmpty() || !m_actions.FilesDropped)
        return;
    event->acceptProposedAction();
    m_actions.FilesDropped(paths);
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

// The sizes the skin buttons and strips take at load, in the order they are set.
void frmMain::SizeSkinControls()
{
    const Buttons& b = m_buttons;
    for (SkinControl* control : std::initializer_list<SkinControl*>{
             b.menu,    b.quillet,          b.cdPlayer,        b.continuePlay, b.shuffle,
             b.presets, m_pictureEqualizer, m_picturePlaylist, b.play,         b.pause,
             b.stop,    b.rewind,           b.forward,         b.open,         b.add,
             b.remove,  b.clearList,        b.openList,        b.saveList,     b.up,
             b.down}) {
        const QWidget* widget = dynamic_cast<QWidget*>(control);
        control->SetSize(widget->width(), widget->height());
    }
}

void frmMain::AttachSkins()
{
    for (SkinControl* control : SkinnedControls())
        control->AttachSkin(m_skinForm);
}

std::vector<SkinControl*> frmMain::SkinnedControls() const
{
    const Buttons& b = m_buttons;
    return {b.play,    b.pause,  b.stop,        b.rewind,       b.forward,   b.open,
            b.presets, b.add,    b.remove,      b.openList,     b.clearList, b.saveList,
            b.up,      b.down,   b.shuffle,     b.continuePlay, b.quillet,   b.menu,
            m_balance, m_volume, m_labelVolume, m_labelBalance, b.download,  b.cdPlayer};
}

void frmMain::SetStayOnTop(bool onTop)
{
    const Qt::WindowFlags flags = onTop ? windowFlags() | Qt::WindowStaysOnTopHint
                                        : windowFlags() & ~Qt::WindowStaysOnTopHint;
    QWindow* window = windowHandle();
    if (!window) { // not created yet: the hint goes with the window when it is made
        setWindowFlags(flags);
        return;
    }
    // The same window changes band: the window system is told in place (on X11 the window
    // manager's _NET_WM_STATE_ABOVE), where setting the widget's flags would make a new one.
    overrideWindowFlags(flags);
    window->setFlags(flags);
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
    // A window not framed yet is centred by its inside for now, and again by its frame once
    // the window manager has framed it (moveEvent).
    m_centredAt = area.topLeft() + CentredPosition(area.size(), frameGeometry().size());
    m_centreByFrame = frameGeometry().size() == size();
    move(m_centredAt);
}

void frmMain::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // Framed while still where it was centred (the user has had no chance to move it).
    if (m_centreByFrame && isVisible() && frameGeometry().size() != size() &&
        (pos() == m_centredAt || geometry().topLeft() == m_centredAt))
        CentreOnScreen();
}

void frmMain::ShowWindow()
{
    show();
}

} // namespace quillet
