// The oscilloscope: the mono mix of the most recent audible samples drawn across the width as
// one trace, started on a rising zero crossing when there is one so a steady tone stands
// still; a flat line at rest. UI thread. Samples −1 … 1; sizes in pixels.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <span>
#include <vector>

namespace quillet {

class Oscilloscope : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 229;
    static constexpr int DesignHeight = 41;
    static constexpr int SamplesPerPixel = 2;

    explicit Oscilloscope(QWidget* parent = nullptr);

    // How many of the most recent samples ShowSamples wants: twice what fits across, so a
    // trigger point can be found before the newest stretch.
    [[nodiscard]] int SamplesWanted() const { return 2 * width() * SamplesPerPixel; }
    // One frame: samples oldest first (fewer than wanted, or none, are drawn from the left and
    // the rest is flat). Repaints only the columns from the first to the last point that
    // moved, and the segments that join them to their neighbours.
    void ShowSamples(std::span<const float> samples);
    [[nodiscard]] bool AtRest() const;
    [[nodiscard]] int TraceY(int x) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    [[nodiscard]] int Centre() const { return (height() - 1) / 2; }
    void Fit(); // a flat trace of the widget's size, when the size has changed
    void DrawPicture(); // the whole trace over black into m_picture, when it has changed

    std::vector<QPoint> m_trace; // one point per column, reused every frame
    int m_traceHeight = 0;
    QImage m_picture; // at one device pixel per pixel
    bool m_pictureStale = true;
};

} // namespace quillet
