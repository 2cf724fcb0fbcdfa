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

// Made again when the size, the range or the pixel ratio has changed.
void LevelMeter::Prepare()
{
    const qreal ratio = devicePixelRatioF();
    const int warmColumn = WarmColumn();
    if (m_preparedSize == size() && m_preparedWarm == warmColumn &&
        m_litStrip.devicePixelRatio() == ratio)
        return;
    m_preparedSize = size();
    m_preparedWarm = warmColumn;
    const int w = width(), h = height();
    for (QPixmap* strip : {&m_litStrip, &m_unlitStrip}) {
        *strip = QPixmap((QSizeF(size()) * ratio).toSize());
        strip->setDevicePixelRatio(ratio);
        QPainter painter(strip);
        painter.fillRect(0, 0, w, h, QColor::fromRgb(look::Black));
        for (int x = 0; x < w; x += 2) {
            const QRgb colour = strip == &m_unlitStrip ? look::MeterUnlit
                                : x >= warmColumn      ? look::MeterWarm
                                                       : look::MeterLit;
            painter.fillRect(x, 0, 1, h, QColor::fromRgb(colour));
        }
    }
}

void LevelMeter::paintEvent(QPaintEvent*)
{
    Prepare();
    QPainter painter(this);
    const qreal ratio = m_litStrip.devicePixelRatio();
    const int w = width(), h = height();
    const int lit = std::min(2 * m_shownLit, w); // the lit segments and the gap after the last
    const auto cut = [&](const QPixmap& strip, int from, int to) {
        if (to > from)
            painter.drawPixmap(QRectF(from, 0, to - from, h), strip,
                               QRectF(from * ratio, 0, (to - from) * ratio, h * ratio));
    };
    cut(m_litStrip, 0, lit);
    cut(m_unlitStrip, lit, w);
    if (m_shownPeak >= 0) {
        const QRgb peak = m_shownPeak >= m_preparedWarm ? look::MeterWarm : look::MeterPeak;
        painter.fillRect(m_shownPeak, 0, 1, h, QColor::fromRgb(peak));
    }
}

} // namespace quillet
