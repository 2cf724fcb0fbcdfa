#include "ui/frmmenu.h"

#include "playback/endoftrack.h"
#include "ui/controlbinding.h"
#include "ui/weblinks.h"
#include "ui/windowoptions.h"
#include "ui/windowplacement.h"
#include "ui/windowsize.h"

#include <QCursor>
#include <QMenu>

namespace quillet {

frmMenu::frmMenu(MenuParts parts, QWidget* mainWindow)
    : QObject(mainWindow), m_parts(std::move(parts)), m_mainWindow(*mainWindow),
      m_menu1(new QMenu(tr("Menu1"), mainWindow))
{
    setObjectName(QStringLiteral("frmMenu"));
    m_menu1->setObjectName(QStringLiteral("menu1"));
    QMenu& menu = *m_menu1;
    const WebLinks& links = m_parts.webLinks;

    AddCommand(menu, "songDetails", tr("&Song Details"), m_parts.songDetails_Click);
    menu.addSeparator()->setObjectName(QStringLiteral("a"));
    BuildOptions(*AddSubmenu(menu, "options", tr("&Options")));

    QMenu& help = *AddSubmenu(menu, "help", tr("&Help"));
    AddCommand(help, "readme", tr("&Help Contents"), [&links] { links.readme_Click(); });
    AddCommand(help, "about", tr("&About"), m_parts.about_Click);

    m_websites = AddSubmenu(menu, "websites", tr("&Websites"));
    AddCommand(*m_websites, "download", tr("&Download Music Files"),
               [&links] { links.download_Click(); });
    AddCommand(*m_websites, "quillet", tr(WebLinks::SiteCaption),
               [&links] { links.quillet_Click(); });

    menu.addSeparator()->setObjectName(QStringLiteral("b"));
    AddCommand(menu, "exit", tr("E&xit"), m_parts.exit_Click);
}

// Each check item shows its option's mark; choosing it runs the option's own routine,
// which alone decides the new mark.
void frmMenu::BuildOptions(QMenu& options)
{
    WindowOptions& window = m_parts.windowOptions;
    EndOfTrack& endOfTrack = m_parts.endOfTrack;
    const struct {
        const char* name;
        QString caption;
        MenuItemControl& mark;
        std::function<void()> routine;
    } items[] = {
        {"setOnTop", tr("&Set on Top"), window.setOnTop(), [&window] { window.setOnTop_Click(); }},
        {"contPlay", tr("&Continuous Play"), endOfTrack.contPlay(),
         [&endOfTrack] { endOfTrack.contPlay_Click(); }},
        {"randOrder", tr("&Shuffle"), endOfTrack.randOrder(),
         [&endOfTrack] { endOfTrack.randOrder_Click(); }},
    };
    for (const auto& item : items) {
        QAction* action = options.addAction(item.caption);
        action->setObjectName(QLatin1String(item.name));
        BindCheckItem(*action, item.mark, item.routine);
    }

    // One of the sizes is checked; each reachable by its digit.
    QMenu& size = *AddSubmenu(options, "size", tr("Si&ze"));
    WindowSize& windowSize = m_parts.windowSize;
    const char* const captions[] = {QT_TR_NOOP("&100 %"), QT_TR_NOOP("1&50 %"),
                                    QT_TR_NOOP("&200 %")};
    for (size_t i = 0; i < WindowSize::Percents.size(); ++i) {
        const int percent = WindowSize::Percents[i];
        QAction* action = size.addAction(tr(captions[i]));
        action->setObjectName(QStringLiteral("size%1").arg(percent));
        BindCheckItem(*action, windowSize.Item(percent),
                      [&windowSize, percent] { windowSize.Choose(percent); });
    }
}

// The submenu and the item that opens it share the name.
QMenu* frmMenu::AddSubmenu(QMenu& menu, const char* name, const QString& caption)
{
    QMenu* submenu = menu.addMenu(caption);
    submenu->setObjectName(QLatin1String(name));
    submenu->menuAction()->setObjectName(QLatin1String(name));
    return submenu;
}

void frmMenu::AddCommand(QMenu& menu, const char* name, const QString& caption,
                         std::function<void()> routine)
{
    QAction* action = menu.addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, [routine = std::move(routine)] {
        if (routine)
            routine();
    });
}

void frmMenu::SkinButtonMenu_Click()
{
    m_parts.placement.RecordMainWindowPosition(m_mainWindow);
    m_menu1->popup(QCursor::pos());
}

void frmMenu::SkinButtonQuillet_Click()
{
    m_websites->popup(QCursor::pos());
}

} // namespace quillet
