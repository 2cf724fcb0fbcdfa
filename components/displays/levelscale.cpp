#include "components/displays/levelscale.h"

#include "components/displays/displaylook.h"
#include "components/displays/levelmeter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quillet {

LevelScale::LevelScale(QWidget* parent) : QWidget(parent)
{
    resize(DesignWidth, DesignHeight);
}

void LevelScale::SetRange(float minDb, float maxDb)
{
    if (!(maxDb > minDb))
        return;
    m_minDb = minDb;
    m_maxDb = maxDb;
}

int LevelScale::TickX(int tick) const
{
    return int(std::lround(double(tick) * (width() - 1) / (Ticks - 1)));
}

void LevelScale::AlignMeter(LevelMeter& meter) const
{
    // Both map a level linearly onto pixels: the bar for a tick's level ends on the tick's
    // column. Same pixels per dB, and the scale's left edge where it lies along the meter.
    const int offset = mapTo(window(), QPoint()).x() - meter.mapTo(meter.window(), QPoint()).x();
    const float dbPerPixel = (m_maxDb - m_minDb) / float(std::max(width() - 1, 1));
    const float emptyDb = m_minDb - float(offset + 1) * dbPerPixel;
    const float fullDb = emptyDb + float(meter.width()) * dbPerPixel;
    meter.SetRange(emptyDb, fullDb, m_minDb + float(WarmFraction) * (m_maxDb - m_minDb));
}

void LevelScale::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int warmFrom = int(std::lround(WarmFraction * (Ticks - 1)));
    for (int tick = 0; tick < Ticks; ++tick) {
        const int length = tick % LongTickEvery == 0 ? LongTick : ShortTick;
        const QColor colour = tick >= warmFrom ? QColor::fromRgb(look::MeterWarm)
                                               : palette().color(QPalette::WindowText);
        painter.fillRect(TickX(tick), 0, 1, std::min(length, height()), colour);
    }
}

} // namespace quillet
