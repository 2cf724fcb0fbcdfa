#include "components/displays/levelmeter.h"

#include "components/displays/displaylook.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quillet {

LevelMeter::LevelMeter(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(DesignWidth, DesignHeight);
    SetRange(m_emptyDb, m_fullDb, m_warmDb);
}

void LevelMeter::SetRange(float emptyDb, float fullDb, float warmDb)
{
    if (!(fullDb > emptyDb))
        return; // an empty or reversed range would divide by zero
    m_emptyDb = emptyDb;
    m_fullDb = fullDb;
    m_warmDb = warmDb;
    update();
}

int LevelMeter::LengthFor(float dB) const
{
    if (!(dB > m_emptyDb))
        return 0;
    const float fraction = std::min((dB - m_emptyDb) / (m_fullDb - m_emptyDb), 1.0f);
    return int(std::lround(fraction * float(width())));
}

void LevelMeter::ShowLevel(float dB)
{
    m_lit = LengthFor(dB);
    if (m_lit >= m_peak) {
        m_peak = m_lit;
        m_hold = PeakHoldFrames;
    } else if (m_hold > 0) {
        --m_hold;
    } else {
        m_peak = std::max(m_lit, m_peak - PeakFallPerFrame);
    }
    Refresh();
}

int LevelMeter::PeakSegmentColumn() const
{
    if (m_peak <= m_lit)
        return -1;
    return (m_peak - 1) & ~1; // the segment (even column) that holds the marker's column
}

// Repaints only when what is drawn changes: the number of lit segments or the marker's place.
void LevelMeter::Refresh()
{
    const int litSegments = (m_lit + 1) / 2;
    const int peakColumn = PeakSegmentColumn();
    if (litSegments == m_shownLit && peakColumn == m_shownPeak)
        return;
    m_shownLit = litSegments;
    m_shownPeak = peakColumn;
    update();
}

// The column that the bar for the warm level ends on.
int LevelMeter::WarmColumn() const
{
    return std::max(LengthFor(m_warmDb) - 1, 0);
}

void LevelMeter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int h = height();
    const int warmColumn = WarmColumn();
    painter.fillRect(rect(), QColor::fromRgb(look::Black));
    const QColor lit = QColor::fromRgb(look::MeterLit);
    const QColor warm = QColor::fromRgb(look::MeterWarm);
    const QColor unlit = QColor::fromRgb(look::MeterUnlit);
    for (int x = 0; x < width(); x += 2) {
        const QColor& colour = x >= m_lit ? unlit : x >= warmColumn ? warm : lit;
        painter.fillRect(x, 0, 1, h, colour);
    }
    if (m_shownPeak >= 0) {
        const QColor peak = m_shownPeak >= warmColumn ? warm : QColor::fromRgb(look::MeterPeak);
        painter.fillRect(m_shownPeak, 0, 1, h, peak);
    }
}

} // namespace quillet
