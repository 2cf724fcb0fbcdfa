// One channel's peak meter: a dotted bar (1 px segments with 1 px gaps) lit from the left up
// to the level, unlit segments grey, lit segments warm from the scale's 80 % point on, and a
// peak marker that holds and then falls back step by step. UI thread. Levels in dBFS; lengths
// in pixels along the meter; falls per frame (one frame = one ShowLevel call).
#pragma once

#include <QPixmap>
#include <QWidget>

namespace quillet {

class LevelMeter : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 131;
    static constexpr int DesignHeight = 5;
    static constexpr int PeakHoldFrames = 10;
    static constexpr int PeakFallPerFrame = 9; // pixels

    explicit LevelMeter(QWidget* parent = nullptr);

    // The levels at the empty and at the full end, and where lit segments turn warm.
    // Default −60, 0 and −12 dB; LevelScale::AlignMeter sets them to agree with a scale.
    void SetRange(float emptyDb, float fullDb, float warmDb);
    [[nodiscard]] float EmptyDb() const { return m_emptyDb; }
    [[nodiscard]] float FullDb() const { return m_fullDb; }

    // One frame: the level heard now (anything at or below the empty end, NaN included,
    // lights nothing). Repaints only when a segment or the marker changes.
    void ShowLevel(float dB);
    // How far the bar reaches: columns 0 … LitLength() − 1 are lit (lit segments are the
    // even columns among them).
    [[nodiscard]] int LitLength() const { return m_lit; }
    // Where the peak marker stands (the segment holding column PeakLength() − 1); it is
    // drawn only when it reaches beyond the bar.
    [[nodiscard]] int PeakLength() const { return m_peak; }
    [[nodiscard]] bool AtRest() const { return m_lit == 0 && m_peak == 0; }
    [[nodiscard]] int LengthFor(float dB) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    [[nodiscard]] int WarmColumn() const;
    [[nodiscard]] int PeakSegmentColumn() const; // -1 when the marker is hidden
    void Refresh();
    void Prepare();

    float m_emptyDb = -60.0f;
    float m_fullDb = 0.0f;
    float m_warmDb = -12.0f;
    int m_lit = 0;
    int m_peak = 0;
    int m_hold = 0;
    int m_shownLit = 0;   // segments lit in the picture on screen
    int m_shownPeak = -1; // its marker column
    // Every segment lit (warm from the warm column on), and every segment unlit: a frame is
    // two cuts from them and the marker. Made for m_preparedSize and m_preparedWarm.
    QPixmap m_litStrip;
    QPixmap m_unlitStrip;
    QSize m_preparedSize;
    int m_preparedWarm = -1;
};

} // namespace quillet
