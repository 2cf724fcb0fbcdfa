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
    // A moved point also moves the segments to its neighbours; a steep one may reach a little
    // into the column beyond them when the window is scaled.
    if (first <= last)
        update(QRect(QPoint(std::max(first - 2, 0), 0), QPoint(last + 2, height() - 1)));
}

bool Oscilloscope::AtRest() const
{
    const int centre = Centre();
    return std::all_of(m_trace.begin(), m_trace.end(),
                       [centre](const QPoint& point) { return point.y() == centre; });
}

// The trace through the columns asked for, with one point more on either side so that the
// segments entering and leaving them are drawn (clipped to the stretch).
void Oscilloscope::paintEvent(QPaintEvent* event)
{
    Fit();
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, QColor::fromRgb(look::Black));
    const int first = std::clamp(area.left() - 1, 0, width());
    const int last = std::clamp(area.right() + 1, first - 1, width() - 1);
    painter.setPen(QColor::fromRgb(look::ScopeTrace)); // cosmetic 1 px, no antialiasing
    painter.drawPolyline(m_trace.data() + first, last - first + 1);
}

} // namespace quillet
