#include "components/displays/oscilloscope.h"

#include "components/displays/displaylook.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quillet {

namespace {

// The latest start in samples[0 … last] on a rising zero crossing, or `last` when none.
size_t TriggerPoint(std::span<const float> samples, size_t last)
{
    for (size_t start = last; start > 0; --start) {
        if (samples[start - 1] < 0.0f && samples[start] >= 0.0f)
            return start;
    }
    return last;
}

// Draws a trace of one point per column into a picture of the widget's size, pixel for pixel
// as QPainter's one-pixel aliased pen draws the same polyline (its walk in 16.16 fixed point
// across each segment, the half-pixel caps at both ends and where the trace turns back, and
// its rules against doubled and missing pixels where a segment meets the next), without a
// painter: that pen costs hundreds of instructions a segment, this a few a pixel.
class TracePen {
public:
    TracePen(QImage& picture, QRgb colour)
        : m_pixels(reinterpret_cast<QRgb*>(picture.bits())),
          m_stride(int(picture.bytesPerLine() / sizeof(QRgb))), m_width(picture.width()),
          m_height(picture.height()), m_colour(colour)
    {
    }

    // The segment from (x, from) to (x + 1, to).
    void Segment(int x, int from, int to, bool capBegin, bool capEnd)
    {
        const int rise = std::abs(to - from);
        QPoint first, last;
        int dir, step, pos, i, end;
        bool forward = true; // drawn in the segment's own direction
        if (rise >= 2) {     // steep: one pixel a row, walking across
            const bool up = to < from;
            dir = up ? Up : Down;
            if (up)
                std::swap(capBegin, capEnd);
            if ((m_lastDir ^ (Up | Down)) == dir)
                (up ? capEnd : capBegin) = true; // the trace turns back
            step = (up ? -One : One) / rise;
            pos = (up ? x + 1 : x) * One;
            if (capBegin)
                pos -= step >> 1;
            pos += (((step > 0 ? Half : 0) + (capBegin ? Half : 0)) * step) >> 6;
            i = std::min(from, to);
            end = std::max(from, to) + (capEnd ? 1 : 0);
            first = {pos >> 16, i};
            last = {(pos + (end - i - 1) * step) >> 16, end - 1};
            if (up)
                std::swap(first, last);
            forward = !up;
        } else { // shallow: one pixel a column, walking down or up
            dir = Across;
            step = (to - from) * One;
            pos = from * One;
            if (capBegin)
                pos -= step >> 1;
            pos += (((step > 0 ? Half : 0) + (capBegin ? Half : 0)) * step) >> 6;
            i = x;
            end = x + 1 + (capEnd ? 1 : 0);
            first = {i, pos >> 16};
            last = {end - 1, (pos + (end - i - 1) * step) >> 16};
        }
        const bool aligned = std::abs(step) < One / 4;
        if (m_last.x() >= 0) {
            const QPoint gap = m_last - first;
            if (gap == QPoint()) { // drawn already: leave it out
                if (forward) {
                    ++i;
                    pos += step;
                } else {
                    --end;
                }
            } else if (m_lastDir != dir &&
                       ((aligned && m_lastAligned && gap.x() != 0 && gap.y() != 0) ||
                        std::abs(gap.x()) > 1 || std::abs(gap.y()) > 1)) { // a pixel missing
                if (forward) {
                    --i;
                    pos -= step;
                } else {
                    ++end;
                }
            }
        }
        m_lastDir = dir;
        m_lastAligned = aligned;
        m_last = last;
        do { // at least one pixel, even where the one left out was the only one
            if (dir == Across)
                Put(i, pos >> 16);
            else
                Put(pos >> 16, i);
            pos += step;
        } while (++i < end);
    }

private:
    static constexpr int One = 1 << 16, Half = 32; // Half: half a pixel in 26.6
    enum { Down = 1, Up = 2, Across = 4 };

    void Put(int x, int y)
    {
        if (x >= 0 && y >= 0 && x < m_width && y < m_height)
            m_pixels[y * m_stride + x] = m_colour;
    }

    QRgb* m_pixels;
    int m_stride, m_width, m_height;
    QRgb m_colour;
    QPoint m_last{-1, -1}; // the last pixel of the previous segment
    int m_lastDir = 0;
    bool m_lastAligned = false;
};

} // namespace

Oscilloscope::Oscilloscope(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(DesignWidth, DesignHeight);
    Fit();
}

void Oscilloscope::Fit()
{
    if (m_trace.size() == size_t(width()) && m_traceHeight == height())
        return;
    m_trace.resize(size_t(width()));
    m_traceHeight = height();
    m_pictureStale = true;
    for (int x = 0; x < width(); ++x)
        m_trace[size_t(x)] = QPoint(x, Centre());
}

int Oscilloscope::TraceY(int x) const
{
    return x < int(m_trace.size()) ? m_trace[size_t(x)].y() : Centre();
}

void Oscilloscope::ShowSamples(std::span<const float> samples)
{
    Fit();
    const size_t shown = size_t(width()) * SamplesPerPixel;
    size_t start = 0;
    if (samples.size() > shown)
        start = TriggerPoint(samples, samples.size() - shown);
    const int centre = Centre();
    const int bottom = height() - 1;
    int first = width(), last = -1; // the columns whose point moved
    for (int x = 0; x < width(); ++x) {
        const size_t n = start + size_t(x) * SamplesPerPixel;
        int y = centre;
        if (n < samples.size() && std::isfinite(samples[n]))
            y = std::clamp(centre - int(std::lround(samples[n] * float(centre))), 0, bottom);
        QPoint& point = m_trace[size_t(x)];
        if (point.y() != y) {
            first = std::min(first, x);
            last = std::max(last, x);
            point.setY(y);
        }
    }
    m_pictureStale = m_pictureStale || first <= last;
    // A moved point also moves the segments to its neighbours, and where they turn back or leave
    // out a pixel the segment after them; a steep one may reach a little into the column beyond
    // when the window is scaled.
    if (first <= last)
        update(QRect(QPoint(std::max(first - 2, 0), 0), QPoint(last + 3, height() - 1)));
}

bool Oscilloscope::AtRest() const
{
    const int centre = Centre();
    return std::all_of(m_trace.begin(), m_trace.end(),
                       [centre](const QPoint& point) { return point.y() == centre; });
}

void Oscilloscope::DrawPicture()
{
    if (!m_pictureStale && m_picture.size() == size())
        return;
    if (m_picture.size() != size())
        m_picture = QImage(size(), QImage::Format_RGB32);
    m_picture.fill(QColor::fromRgb(look::Black));
    TracePen pen(m_picture, look::ScopeTrace);
    const int n = int(m_trace.size());
    for (int x = 0; x + 1 < n; ++x)
        pen.Segment(x, m_trace[size_t(x)].y(), m_trace[size_t(x + 1)].y(), x == 0, x + 2 == n);
    m_pictureStale = false;
}

// At one device pixel per pixel, the stretch asked for is copied from the picture of the whole
// trace. Scaled, the trace through the columns asked for, with one point more on either side so
// that the segments entering and leaving them are drawn (clipped to the stretch).
void Oscilloscope::paintEvent(QPaintEvent* event)
{
    Fit();
    QPainter painter(this);
    const QRect area = event->rect();
    if (devicePixelRatioF() == 1.0) {
        DrawPicture();
        painter.drawImage(area.topLeft(), m_picture, area);
        return;
    }
    painter.fillRect(area, QColor::fromRgb(look::Black));
    const int first = std::clamp(area.left() - 1, 0, width());
    const int last = std::clamp(area.right() + 1, first - 1, width() - 1);
    painter.setPen(QColor::fromRgb(look::ScopeTrace)); // cosmetic 1 px, no antialiasing
    painter.drawPolyline(m_trace.data() + first, last - first + 1);
}

} // namespace quillet
