#include "ui/frmdetails.h"

#include "tags/songdetails.h"
#include "ui/windowplacement.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quillet {

namespace {

constexpr int FieldWidth = 220;

struct Row {
    const char* label;
    const char* field;
    const QString& (SongDetails::*value)() const;
};

// Top to bottom, the order in which the fields are filled.
constexpr std::array<Row, frmDetails::FieldCount> Rows{{
    {QT_TRANSLATE_NOOP("frmDetails", "Title"), "TextTitle", &SongDetails::SongTitle},
    {QT_TRANSLATE_NOOP("frmDetails", "Artist"), "TextArtist", &SongDetails::SongArtist},
    {QT_TRANSLATE_NOOP("frmDetails", "Album"), "TextAlbum", &SongDetails::SongAlbum},
    {QT_TRANSLATE_NOOP("frmDetails", "Year"), "TextYear", &SongDetails::SongYear},
    {QT_TRANSLATE_NOOP("frmDetails", "Comments"), "TextComments", &SongDetails::SongComments},
    {QT_TRANSLATE_NOOP("frmDetails", "Genre"), "TextGenre", &SongDetails::SongGenre},
}};

} // namespace

frmDetails::frmDetails(const SongDetails& details, WindowPlacement& placement,
                       std::function<void()> showMainWindow, qreal scale, QWidget* parent)
    : QWidget(parent, Qt::Dialog), m_details(details), m_placement(placement),
      m_showMainWindow(std::move(showMainWindow))
{
    setObjectName(QStringLiteral("frmDetails"));
    setWindowTitle(tr("Song Details"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    for (int i = 0; i < FieldCount; ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QLatin1String(Rows[i].field));
        field->setFixedWidth(int(FieldWidth * scale)); // its text follows the program's size
        auto* label = new QLabel(tr(Rows[i].label), this);
        label->setBuddy(field);
        grid->addWidget(label, i, 0, Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(field, i, 1);
        m_fields[i] = field;
    }
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("CommandClose"));
    grid->setRowMinimumHeight(FieldCount, 4);
    grid->addWidget(close, FieldCount + 1, 1, Qt::AlignRight);
    connect(close, &QPushButton::clicked, this, &frmDetails::CommandClose_Click);

    // Its size is known from here on, so it can be centred before it first appears.
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->activate();
}

void frmDetails::Form_Load()
{
    m_placement.CentreOverMainWindow(*this);
    for (int i = 0; i < FieldCount; ++i) {
        m_fields[i]->setText((m_details.*Rows[i].value)());
        m_fields[i]->setCursorPosition(0); // a long value shows its beginning
    }
}

void frmDetails::CommandClose_Click()
{
    if (m_showMainWindow)
        m_showMainWindow();
    close();
}

} // namespace quillet
