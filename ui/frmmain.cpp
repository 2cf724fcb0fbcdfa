#include "ui/frmmain.h"

#include "playlist/mediafiles.h"
#include "playlist/playlist.h"
#include "playlist/playlistfiles.h"
#include "playlist/playlistmodel.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>

namespace quillet {

frmMain::frmMain(Playlist& playlist, MediaFiles& mediaFiles, PlaylistFiles& playlistFiles,
                 MainWindowActions actions, QWidget* parent)
    : QWidget(parent), m_playlist(playlist), m_mediaFiles(mediaFiles),
      m_playlistFiles(playlistFiles), m_actions(std::move(actions))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral(" Quillet Jukebox"));
    setFixedSize(DesignWidth, DesignHeight);
    BuildControls();
    WireRoutines();
}

frmMain::~frmMain() = default;

void frmMain::BuildControls()
{
    const auto button = [this](const char* name, const char* element, const QString& caption) {
        return new PlainSkinButton(QLatin1String(name), QLatin1String(element), caption, false,
                                   this);
    };
    m_skinButtonMenu = button("SkinButtonMenu", "ButtonSettings", tr("menu"));
    m_skinButtonOpen = button("SkinButtonOpen", "ButtonOpen", tr("Open"));
    m_skinButtonOpenList = button("SkinButtonOpenList", "ButtonOpenList", tr("Open list"));
    m_skinButtonSaveList = button("SkinButtonSaveList", "ButtonSaveList", tr("Save list"));
    m_skinButtonAdd = button("SkinButtonAdd", "ButtonAdd", tr("Add"));
    m_skinButtonRemove = button("SkinButtonRemove", "ButtonRemove", tr("Remove"));
    m_skinButtonClearList = button("SkinButtonClearList", "ButtonRemoveAll", tr("Clear"));
    m_skinButtonUp = button("SkinButtonUp", "ButtonUp", tr("Up"));
    m_skinButtonDown = button("SkinButtonDown", "ButtonDown", tr("Down"));

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("menu1"));
    QAction* exitItem = m_menu->addAction(tr("E&xit"));
    exitItem->setObjectName(QStringLiteral("exit"));
    connect(exitItem, &QAction::triggered, this, [this] {
        if (m_actions.ExitClick)
            m_actions.ExitClick();
    });
    connect(&m_skinButtonMenu->Control(), &ButtonControl::clicked, this,
            [this] { m_menu->popup(QCursor::pos()); });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(mapToGlobal(at)); });

    m_model = new PlaylistModel(m_playlist, this);
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("ListBoxDisplay"));
    m_list->setModel(m_model);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setUniformItemSizes(true); // 32,767 rows lay out without measuring each
    m_list->setContextMenuPolicy(Qt::NoContextMenu);
    m_list->installEventFilter(this);
    m_textTotalFiles = new QLabel(this);
    m_textTotalFiles->setObjectName(QStringLiteral("TextTotalFiles"));
    m_textPosition = new QLabel(this);
    m_textPosition->setObjectName(QStringLiteral("TextPosition"));
    // Room for the longest texts ("Total: 32767", "Pos: 32767") whatever they show now.
    for (QLabel* text : {m_textTotalFiles, m_textPosition})
        text->setMinimumWidth(
            text->fontMetrics().horizontalAdvance(QStringLiteral("Total: 32767 ")));

    auto* top = new QHBoxLayout;
    top->addWidget(m_skinButtonMenu);
    top->addStretch();
    top->addWidget(m_skinButtonOpen);
    auto* files = new QHBoxLayout;
    for (QWidget* w :
         {static_cast<QWidget*>(m_skinButtonAdd), static_cast<QWidget*>(m_skinButtonRemove),
          static_cast<QWidget*>(m_skinButtonClearList)})
        files->addWidget(w);
    files->addStretch();
    files->addWidget(m_skinButtonOpenList);
    files->addWidget(m_skinButtonSaveList);
    auto* status = new QHBoxLayout;
    status->addWidget(m_textTotalFiles);
    status->addWidget(m_textPosition);
    status->addStretch();
    status->addWidget(m_skinButtonUp);
    status->addWidget(m_skinButtonDown);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(top);
    layout->addLayout(files);
    layout->addWidget(m_list, 1);
    layout->addLayout(status);
}

void frmMain::WireRoutines()
{
    const auto onClick = [this](PlainSkinButton* b, std::function<void()> routine) {
        connect(&b->Control(), &ButtonControl::clicked, this, std::move(routine));
    };
    onClick(m_skinButtonOpen, [this] { m_mediaFiles.AddFilesDialog(); });
    onClick(m_skinButtonAdd, [this] { m_mediaFiles.AddFilesDialog(); });
    onClick(m_skinButtonRemove, [this] { m_playlist.RemoveSelectedEntry(); });
    onClick(m_skinButtonClearList, [this] { m_playlist.ClearPlaylist(); });
    onClick(m_skinButtonUp, [this] { m_playlist.MoveEntryUp(); });
    onClick(m_skinButtonDown, [this] { m_playlist.MoveEntryDown(); });
    onClick(m_skinButtonOpenList, [this] { m_playlistFiles.OpenListDialog(); });
    onClick(m_skinButtonSaveList, [this] { m_playlistFiles.SaveListDialog(); });

    // The user's selection runs the selection rule; the playlist's selection shows in the view.
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && current.row() != m_playlist.SelectedIndex())
                    m_playlist.Select(current.row());
            });
    connect(&m_playlist, &Playlist::selectionChanged, this, &frmMain::ShowSelection);
    connect(&m_playlist, &Playlist::cleared, this, [this] { ShowSelection(-1); });
    connect(m_list, &QListView::doubleClicked, this, [this] {
        if (m_actions.PlaySelected)
            m_actions.PlaySelected();
    });
    connect(&m_playlist, &Playlist::textsChanged, this, [this] {
        m_textTotalFiles->setText(m_playlist.TextTotalFiles());
        m_textPosition->setText(m_playlist.TextPosition());
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
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        m_playlist.RemoveSelectedEntry();
        return true;
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
    for (PlainSkinButton* b : findChildren<PlainSkinButton*>())
        b->AttachSkin(m_skinForm);
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
