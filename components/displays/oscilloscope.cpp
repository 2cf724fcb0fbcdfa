#include "components/displays/oscilloscope.h"

#include "components/displays/displaylook.h"

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
    bool moved = false;
    for (int x = 0; x < width(); ++x) {
        const size_t n = start + size_t(x) * SamplesPerPixel;
        int y = centre;
        if (n < samples.size() && std::isfinite(samples[n]))
            y = std::clamp(centre - int(std::lround(samples[n] * float(centre))), 0, bottom);
        QPoint& point = m_trace[size_t(x)];
        moved = moved || point.y() != y;
        point.setY(y);
    }
    if (moved)
        update();
}

bool Oscilloscope::AtRest() const
{
    const int centre = Centre();
    return std::all_of(m_trace.begin(), m_trace.end(),
                       [centre](const QPoint& point) { return point.y() == centre; });
}

void Oscilloscope::paintEvent(QPaintEvent*)
{
    Fit();
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(look::Black));
    painter.setPen(QColor::fromRgb(look::ScopeTrace)); // cosmetic 1 px, no antialiasing
    painter.drawPolyline(m_trace.data(), int(m_trace.size()));
}

} // namespace quillet
