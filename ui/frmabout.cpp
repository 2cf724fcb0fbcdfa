#include "ui/frmabout.h"

#include "ui/designscale.h"
#include "ui/skinlook.h"
#include "ui/weblinks.h"
#include "ui/windowplacement.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace quillet {

namespace {

// Pixel sizes keep the texts inside their fixed boxes whatever the screen's resolution.
QFont FontOf(const char* family, int pixelSize, bool bold = false)
{
    QFont font{QString::fromLatin1(family)};
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace

frmAbout::frmAbout(WindowPlacement& placement, const WebLinks& links,
                   std::function<void()> showMainWindow, QWidget* parent)
    : QWidget(parent, Qt::Dialog), m_placement(placement), m_links(links),
      m_showMainWindow(std::move(showMainWindow))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Quillet Jukebox"));
    // The design's text, whatever size the program's text has now: the box is scaled from it.
    setFont(SkinLook::DialogFont());
    setFixedSize(ClientWidth, ClientHeight);
    BuildLabels();
    BuildButtons();
    WidenForTitle();
    m_design = std::make_unique<DesignScale>(*this);
}

frmAbout::~frmAbout() = default;

// A window manager shortens a title that does not fit beside its icon and buttons. Its title
// font is its own; reckoned as a bold 15 px face (11 points) with about 130 px of icon,
// buttons and padding, the box is made wide enough, its contents kept in the middle.
void frmAbout::WidenForTitle()
{
    constexpr int TitleBarFurniture = 130;
    QFont titleFont = QApplication::font();
    titleFont.setPixelSize(15);
    titleFont.setBold(true);
    const int needed = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + TitleBarFurniture;
    const int extra = std::max(needed - ClientWidth, 0);
    if (extra == 0)
        return;
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        child->move(child->pos() + QPoint(extra / 2, 0));
    setFixedSize(ClientWidth + extra, ClientHeight);
    findChild<QFrame*>(QStringLiteral("LineSep"))->setGeometry(8, 96, width() - 18, 1);
}

void frmAbout::ApplyScale(qreal scale)
{
    m_design->Apply(scale);
}

void frmAbout::BuildLabels()
{
    const QFont text = FontOf("Liberation Sans", 11);
    const QFont mark = FontOf("Liberation Serif", 8);
    const struct {
        const char* name;
        QString text;
        QRect place;
        QFont font;
    } labels[] = {
        {"LabelTitle",
         tr("Quillet Jukebox"),
         {24, 16, 109, 24},
         FontOf("Liberation Sans", 13, true)},
        {"LabelTm", tr("TM"), {120, 8, 27, 13}, mark},
        {"LabelVersion", tr("version 1.0"), {24, 32, 59, 15}, text},
        {"LabelTm1", tr("TM"), {184, 48, 27, 13}, mark},
        {"LabelCopyright", tr("Copyright © 2026 Quillet Sound"), {24, 56, 171, 15}, text},
        {"LabelRights", tr("All rights reserved."), {24, 72, 155, 15}, text},
    };
    for (const auto& row : labels) {
        auto* label = new QLabel(row.text, this);
        label->setObjectName(QLatin1String(row.name));
        label->setGeometry(row.place);
        label->setFont(row.font);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("LineSep"));
    line->setGeometry(8, 96, 217, 1); // from x 8 to x 224, both ends drawn
    line->setAutoFillBackground(true);
    QPalette grey = line->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    line->setPalette(grey);
}

// Created in their tab order: the web-site button first, OK second.
void frmAbout::BuildButtons()
{
    auto* quillet = new QPushButton(tr("Free Downloads >>"), this);
    quillet->setObjectName(QStringLiteral("CommandQuillet"));
    quillet->setGeometry(88, 104, 140, 23);
    connect(quillet, &QPushButton::clicked, this, &frmAbout::CommandQuillet_Click);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("CommandOk"));
    ok->setGeometry(8, 104, 68, 23);
    connect(ok, &QPushButton::clicked, this, &frmAbout::CommandOk_Click);

    setTabOrder(quillet, ok);
    quillet->setFocus();
}

void frmAbout::Form_Load()
{
    m_placement.CentreOverMainWindow(*this);
}

void frmAbout::CommandOk_Click()
{
    if (m_showMainWindow)
        m_showMainWindow();
    close();
}

void frmAbout::CommandQuillet_Click()
{
    m_links.OpenMakerSite();
}

} // namespace quillet
