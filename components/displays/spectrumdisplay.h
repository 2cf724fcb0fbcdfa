// The spectrum analyser: bars over a logarithmic frequency axis (lime up to 75 % of the
// height, yellow above, unlit parts black), tilted +3 dB per octave about 500 Hz so that
// music reads level across the axis, and a peak dot over each bar that holds, then falls back
// one pixel a frame. UI thread. Magnitudes in dBFS, frequencies in Hz, sizes in pixels;
// one frame = one ShowSpectrum or Rest call.
#pragma once

#include "playback/audioengine.h"

#include <QImage>
#include <QWidget>

#include <span>
#include <vector>

class QPainter;

namespace quillet {

class SpectrumDisplay : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 233;
    static constexpr int DesignHeight = 28;
    static constexpr int BarWidth = 3;
    static constexpr int BarGap = 1;
    static constexpr double LowHz = 50.0;           // left edge of the axis
    static constexpr double HighHz = 16000.0;       // right edge
    static constexpr double SampleRateHz = 44100.0; // the rate the feed's bins are read at
    static constexpr double ReferenceHz = 500.0;
    static constexpr double TiltDbPerOctave = 3.0;
    static constexpr float TopDb = 0.0f;         // a bar at this level (after the tilt) is full
    static constexpr float RangeDb = 60.0f;      // … and empty this far below
    static constexpr double HighFraction = 0.75; // yellow above this share of the height
    static constexpr int BarFallPerFrame = 7;    // pixels
    static constexpr int PeakHoldFrames = 5;
    static constexpr int PeakFallPerFrame = 1;

    explicit SpectrumDisplay(QWidget* parent = nullptr);

    // One frame of the feed's magnitudes (bin k at k × SampleRateHz / 512 Hz). Bars rise at
    // once and fall at most BarFallPerFrame. Repaints only the stretch from the first to the
    // last bar whose bar or peak moved.
    void ShowSpectrum(std::span<const float, Connector::SpectrumBins> magnitudesDb);
    // One frame of silence: bars and peaks fall back towards rest.
    void Rest();
    [[nodiscard]] bool AtRest() const;

    // The bars as laid out for the current size (the first frame after a resize lays them
    // out again).
    [[nodiscard]] int BarCount() const { return int(m_bars.size()); }
    [[nodiscard]] int BarX(int bar) const;
    [[nodiscard]] double BarCentreHz(int bar) const;
    [[nodiscard]] int BarHeight(int bar) const { return m_bars[size_t(bar)].height; }
    [[nodiscard]] int PeakHeight(int bar) const { return m_bars[size_t(bar)].peak; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Bar {
        int firstBin = 0; // the bins the bar shows the loudest of, when it spans any
        int lastBin = -1;
        int lowBin = 0; // otherwise read between lowBin and lowBin + 1
        float between = 0;
        float offsetDb = 0; // the tilt at the bar's centre
        int height = 0;
        int peak = 0;
        int hold = 0;
    };
    void Fit(); // lays the bars out again when the size has changed (their state restarts)
    // Moves one bar a frame towards `target`, widening m_moved when it changes.
    void Step(int bar, int target);
    void RepaintMoved();
    void FillBar(QPainter& painter, int x, int height) const;
    void DrawPicture(const QRect& area, int ratio); // the bars in `area` into m_picture

    std::vector<Bar> m_bars;
    int m_highFrom = 0; // bar rows above this height are yellow
    QSize m_laidOut;
    int m_movedFirst = 0; // the bars moved in this frame: m_movedFirst … m_movedLast
    int m_movedLast = -1;
    QImage m_picture; // the bars at a whole number of device pixels per pixel
};

} // namespace quillet
