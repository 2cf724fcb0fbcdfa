#include "components/displays/spectrumdisplay.h"

#include "components/displays/displaylook.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quillet {

namespace {

constexpr double BinHz = SpectrumDisplay::SampleRateHz / (2.0 * Connector::SpectrumBins);

// The axis frequency at `position` (0 … 1) across the display.
double AxisHz(double position)
{
    return SpectrumDisplay::LowHz *
           std::pow(SpectrumDisplay::HighHz / SpectrumDisplay::LowHz, position);
}

} // namespace

SpectrumDisplay::SpectrumDisplay(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(DesignWidth, DesignHeight);
    Fit();
}

// Bars fill the width, centred; each covers an equal share of the
// axis in octaves. A bar that spans bins shows the loudest; a bar narrower than a bin (the
// bass) reads between the two nearest bins, so the low end is a smooth slope, not steps.
void SpectrumDisplay::Fit()
{
    if (m_laidOut == size())
        return;
    m_laidOut = size();
    const int pitch = BarWidth + BarGap;
    const int count = std::max((width() + BarGap) / pitch, 0);
    m_bars.assign(size_t(count), Bar{});
    for (int i = 0; i < count; ++i) {
        Bar& bar = m_bars[size_t(i)];
        const double low = AxisHz(double(i) / count) / BinHz;
        const double high = AxisHz(double(i + 1) / count) / BinHz;
        bar.firstBin = int(std::ceil(low));
        bar.lastBin = std::min(int(std::ceil(high)) - 1, Connector::SpectrumBins - 1);
        const double centre = std::sqrt(low * high);
        bar.lowBin = std::min(int(centre), Connector::SpectrumBins - 2);
        bar.between = float(centre - bar.lowBin);
        bar.offsetDb = float(TiltDbPerOctave * std::log2(BarCentreHz(i) / ReferenceHz));
    }
    m_highFrom = int(std::lround(HighFraction * height()));
    m_movedFirst = count;
    m_movedLast = -1;
}

int SpectrumDisplay::BarX(int bar) const
{
    const int pitch = BarWidth + BarGap;
    const int spare = width() - (BarCount() * pitch - BarGap);
    return spare / 2 + bar * pitch;
}

double SpectrumDisplay::BarCentreHz(int bar) const
{
    return AxisHz((bar + 0.5) / std::max(BarCount(), 1));
}

void SpectrumDisplay::ShowSpectrum(std::span<const float, Connector::SpectrumBins> magnitudesDb)
{
    Fit();
    const float bottomDb = TopDb - RangeDb;
    for (int i = 0; i < BarCount(); ++i) {
        const Bar& bar = m_bars[size_t(i)];
        float dB;
        if (bar.firstBin <= bar.lastBin) {
            dB = *std::max_element(magnitudesDb.begin() + bar.firstBin,
                                   magnitudesDb.begin() + bar.lastBin + 1);
        } else {
            const float a = magnitudesDb[size_t(bar.lowBin)];
            const float b = magnitudesDb[size_t(bar.lowBin + 1)];
            dB = a + (b - a) * bar.between;
        }
        const float fraction = (dB + bar.offsetDb - bottomDb) / RangeDb;
        // NaN compares false everywhere and lands on 0.
        const int target = fraction > 0 ? int(std::lround(std::min(fraction, 1.0f) * height())) : 0;
        Step(i, target);
    }
    RepaintMoved();
}

void SpectrumDisplay::Rest()
{
    Fit();
    for (int i = 0; i < BarCount(); ++i)
        Step(i, 0);
    RepaintMoved();
}

void SpectrumDisplay::RepaintMoved()
{
    if (m_movedFirst <= m_movedLast) {
        const int left = BarX(m_movedFirst);
        update(left, 0, BarX(m_movedLast) + BarWidth - left, height());
    }
    m_movedFirst = BarCount();
    m_movedLast = -1;
}

bool SpectrumDisplay::AtRest() const
{
    return std::all_of(m_bars.begin(), m_bars.end(),
                       [](const Bar& bar) { return bar.height == 0 && bar.peak == 0; });
}

void SpectrumDisplay::Step(int index, int target)
{
    Bar& bar = m_bars[size_t(index)];
    const int height = std::max(target, bar.height - BarFallPerFrame);
    int peak = bar.peak;
    if (height >= peak) {
        peak = height;
        bar.hold = PeakHoldFrames;
    } else if (bar.hold > 0) {
        --bar.hold;
    } else {
        peak = std::max(height, peak - PeakFallPerFrame);
    }
    if (height != bar.height || peak != bar.peak) {
        m_movedFirst = std::min(m_movedFirst, index);
        m_movedLast = std::max(m_movedLast, index);
    }
    bar.height = height;
    bar.peak = peak;
}

void SpectrumDisplay::FillBar(QPainter& painter, int x, int barHeight) const
{
    const int h = height();
    const int low = std::min(barHeight, m_highFrom);
    if (low > 0)
        painter.fillRect(x, h - low, BarWidth, low, QColor::fromRgb(look::SpectrumLow));
    if (barHeight > low)
        painter.fillRect(x, h - barHeight, BarWidth, barHeight - low,
                         QColor::fromRgb(look::SpectrumHigh));
}

// The bars in the stretch asked for, written into the picture row by row: at a whole number of
// device pixels per pixel every bar is whole device pixels, the same ones fillRect would fill.
// A row of a bar is lit up to the bar's height, and at its peak when the peak stands above it;
// lit rows from the yellow share of the height on are yellow.
void SpectrumDisplay::DrawPicture(const QRect& area, int ratio)
{
    const int h = height();
    if (m_picture.size() != size() * ratio) {
        m_picture = QImage(size() * ratio, QImage::Format_RGB32);
        m_picture.fill(QColor::fromRgb(look::Black)); // the gaps stay black
    }
    QRgb* const pixels = reinterpret_cast<QRgb*>(m_picture.bits());
    const qsizetype stride = m_picture.bytesPerLine() / qsizetype(sizeof(QRgb));
    for (int i = 0; i < BarCount(); ++i) {
        const Bar& bar = m_bars[size_t(i)];
        const int x = BarX(i);
        if (x + BarWidth <= area.left() || x > area.right())
            continue;
        const int peak = bar.peak > bar.height ? bar.peak - 1 : -1; // the peak's level, if shown
        QRgb* line = pixels + x * ratio;
        for (int level = h - 1; level >= 0; --level) { // from the top row down
            const QRgb colour = level >= bar.height && level != peak ? look::Black
                                : level >= m_highFrom                ? look::SpectrumHigh
                                                                     : look::SpectrumLow;
            for (int k = 0; k < ratio; ++k, line += stride)
                std::fill_n(line, BarWidth * ratio, colour);
        }
    }
}

// Only the bars in the stretch asked for, over black: copied from the picture at a whole number
// of device pixels per pixel, filled through the painter otherwise.
void SpectrumDisplay::paintEvent(QPaintEvent* event)
{
    Fit();
    QPainter painter(this);
    const QRect area = event->rect();
    const qreal ratio = devicePixelRatioF();
    if (ratio == std::floor(ratio) && ratio >= 1) {
        DrawPicture(area, int(ratio));
        painter.drawImage(QRectF(area), m_picture,
                          QRectF(QRectF(area).topLeft() * ratio, QSizeF(area.size()) * ratio));
        return;
    }
    painter.fillRect(area, QColor::fromRgb(look::Black));
    const int h = height();
    for (int i = 0; i < BarCount(); ++i) {
        const Bar& bar = m_bars[size_t(i)];
        const int x = BarX(i);
        if (x + BarWidth <= area.left() || x > area.right())
            continue;
        FillBar(painter, x, bar.height);
        if (bar.peak > bar.height) {
            const QRgb colour = bar.peak > m_highFrom ? look::SpectrumHigh : look::SpectrumLow;
            painter.fillRect(x, h - bar.peak, BarWidth, 1, QColor::fromRgb(colour));
        }
    }
}

} // namespace quillet
