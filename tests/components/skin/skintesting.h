// A small skin file of plain coloured blocks, so a test can tell by one pixel's colour which
// element (and which state variant) a widget drew.
#pragma once

#include "tests/support/testsupport.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

#include <ostream>

// Readable colours in test failure messages.
inline void PrintTo(const QColor& colour, std::ostream* out)
{
    *out << colour.name(QColor::HexArgb).toStdString();
}

namespace quillet::test {

inline const QColor FormColour{0x20, 0x30, 0x40};
inline const QColor FormCornerColour{0xc0, 0xc0, 0xc0};
inline const QColor PlayColour{0xff, 0x00, 0x00};
inline const QColor PlayHoverColour{0x00, 0xff, 0x00};
inline const QColor PlayPressedColour{0x00, 0x00, 0xff};
inline const QColor PlayDisabledColour{0x80, 0x80, 0x80};
inline const QColor ShuffleColour{0xff, 0x00, 0xff};
inline const QColor ShuffleHoverColour{0x00, 0xff, 0x80};
inline const QColor ShufflePushedColour{0xff, 0xff, 0x00};
inline const QColor TrackColour{0x00, 0x00, 0x80};
inline const QColor ThumbColour{0xff, 0xff, 0xff};
inline const QColor LabelColour{0x00, 0x40, 0x00};
inline const QColor StripTopColour{0x00, 0xff, 0xff};
inline const QColor StripBottomColour{0xff, 0x80, 0x00};

// Element sizes in the file: form 40 × 30 (its lower right quarter lighter), buttons 20 × 10, track 100 × 10, thumb 10 × 10, strip 30 × 6
// (two 3 px bands). The variants lie apart from their elements, as in a real skin.
inline QByteArray TestSkin()
{
    return R"(<svg xmlns="http://www.w3.org/2000/svg" width="800" height="200">
  <g id="form"><rect x="0" y="0" width="40" height="30" fill="#203040"/>
    <rect x="20" y="15" width="20" height="15" fill="#c0c0c0"/></g>
  <g id="ButtonPlay"><rect x="100" y="0" width="20" height="10" fill="#ff0000"/></g>
  <g id="ButtonPlay.hover"><rect x="100" y="20" width="20" height="10" fill="#00ff00"/></g>
  <g id="ButtonPlay.pressed"><rect x="100" y="40" width="20" height="10" fill="#0000ff"/></g>
  <g id="ButtonPlay.disabled"><rect x="100" y="60" width="20" height="10" fill="#808080"/></g>
  <g id="ButtonShuffle"><rect x="200" y="0" width="20" height="10" fill="#ff00ff"/></g>
  <g id="ButtonShuffle.hover"><rect x="200" y="20" width="20" height="10" fill="#00ff80"/></g>
  <g id="ButtonShuffle.pushed"><rect x="200" y="40" width="20" height="10" fill="#ffff00"/></g>
  <g id="HScrollVolume"><rect x="300" y="0" width="100" height="10" fill="#000080"/></g>
  <g id="HScrollVolume.thumb"><rect x="300" y="20" width="10" height="10" fill="#ffffff"/></g>
  <g id="Label"><rect x="500" y="0" width="20" height="10" fill="#004000"/></g>
  <g id="PictureEqualizer"><rect x="600" y="0" width="30" height="3" fill="#00ffff"/>
    <rect x="600" y="3" width="30" height="3" fill="#ff8000"/></g>
  <g id="Empty"/>
</svg>
)";
}

// Writes the test skin into dir and returns its path.
inline QString WriteTestSkin(const QTemporaryDir& dir, const QByteArray& svg = TestSkin())
{
    const QString path = dir.filePath("Skins/default.skn");
    WriteFile(path, svg);
    return path;
}

// The colour the widget paints at point (its own coordinates), alpha dropped.
inline QColor PixelAt(QWidget& widget, QPoint point)
{
    QColor colour = widget.grab().toImage().pixelColor(point);
    colour.setAlpha(255);
    return colour;
}

} // namespace quillet::test
