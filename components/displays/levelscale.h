// The dB scale under the level meters: 11 ticks hanging from the top edge (every fifth one
// long), no joining line, the ticks from 80 % on in the meters' warm colour, the rest in the
// palette's window-text colour. UI thread. Levels in dBFS, positions in pixels.
#pragma once

#include <QWidget>

namespace quillet {

class LevelMeter;

class LevelScale : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 115;
    static constexpr int DesignHeight = 7;
    static constexpr int Ticks = 11;
    static constexpr int LongTickEvery = 5;
    static constexpr int LongTick = 7; // pixels
    static constexpr int ShortTick = 4;
    static constexpr double WarmFraction = 0.8;

    explicit LevelScale(QWidget* parent = nullptr);

    // The levels at the first and the last tick (default −60 and 0 dB).
    void SetRange(float minDb, float maxDb);
    [[nodiscard]] float MinDb() const { return m_minDb; }
    [[nodiscard]] float MaxDb() const { return m_maxDb; }
    [[nodiscard]] int TickX(int tick) const; // column of tick 0 … Ticks − 1

    // Sets the meter's range so that its bar ends under the tick of the level it shows and
    // turns warm where the scale does, wherever the two sit in the same window (place both
    // first). The meter's part left of the scale shows levels below the scale's minimum.
    void AlignMeter(LevelMeter& meter) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    float m_minDb = -60.0f;
    float m_maxDb = 0.0f;
};

} // namespace quillet
