// The plain main window's layout: the player rows, the equalizer and the playlist rows,
// and the tab order through them. UI thread only. Sizes in pixels.
#include "ui/frmmain.h"

#include "playback/transport.h"
#include "playlist/mediafiles.h"
#include "playlist/playlist.h"
#include "playlist/playlistfiles.h"
#include "playlist/playlistmodel.h"
#include "sound/volumebalance.h"
#include "tags/songdetails.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
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

// A row of widgets side by side; a null entry stands for stretchable space.
QHBoxLayout* Row(std::initializer_list<QWidget*> widgets)
{
    auto* row = new QHBoxLayout;
    for (QWidget* widget : widgets)
        widget ? row->addWidget(widget) : row->addStretch();
    return row;
}

} // namespace

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
    const auto bar = [this](const char* name, ScrollBarControl& state, int small, int large,
                            const QString& tip) {
        auto* bar = new PlainSkinScrollBar(QLatin1String(name), QStringLiteral("HScrollVolume"),
                                           state, this);
        bar->setSingleStep(small);
        bar->setPageStep(large);
        bar->setToolTip(tip);
        return bar;
    };
    m_volume = bar("SkinScrollBarVolume", volumeBalance.SkinScrollBarVolume(),
                   VolumeBalance::VolumeSmallStep, VolumeBalance::VolumeLargeStep, tr("Volume"));
    m_balance =
        bar("SkinScrollBarBalance", volumeBalance.SkinScrollBarBalance(),
            VolumeBalance::BalanceSmallStep, VolumeBalance::BalanceLargeStep, tr("Balance"));
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

    const Buttons& b = m_buttons;
    QHBoxLayout* title = Row({b.menu, m_textDisplay});
    title->setStretchFactor(m_textDisplay, 1);
    QHBoxLayout* time = Row({m_textTime, nullptr});
    time->addLayout(bars);
    QHBoxLayout* transport = Row({b.play, b.pause, b.stop, b.rewind, b.forward});
    transport->setSpacing(2);
    transport->addSpacing(8);
    transport->addLayout(Row({b.open, nullptr, b.continuePlay, b.shuffle}), 1);
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

    const Buttons& b = m_buttons;
    QHBoxLayout* files = Row({b.add, b.remove, b.clearList, nullptr, b.openList, b.saveList});
    QHBoxLayout* status = Row({m_textTotalFiles, m_textPosition, nullptr, b.up, b.down});
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

} // namespace quillet
