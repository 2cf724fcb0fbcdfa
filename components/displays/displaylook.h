// The colours of the displays and sliders, chosen for a dark window: shared so that the
// meters and their scale agree on the warm zone and both sliders share one thumb.
// Any thread (constants only).
#pragma once

#include <QRgb>

namespace quillet::look {

inline constexpr QRgb Black = 0xff000000;
inline constexpr QRgb MeterLit = 0xffececec;
inline constexpr QRgb MeterUnlit = 0xff4a4a4a;
inline constexpr QRgb MeterWarm = 0xffffa030; // lit segments from the scale's 80 % point on
inline constexpr QRgb MeterPeak = 0xffffffff;
inline constexpr QRgb PanelText = 0xffc8c8c8; // captions and scale on the black panel
inline constexpr QRgb PanelSilver = 0xffc0c0c0;
inline constexpr QRgb SpectrumLow = 0xff00ff00;  // lime, below 75 % of the height
inline constexpr QRgb SpectrumHigh = 0xffffff00; // yellow, above
inline constexpr QRgb ScopeTrace = 0xff8080ff;

inline constexpr QRgb SliderGroove = 0xff2c2c2c;
inline constexpr QRgb SliderGrooveDisabled = 0xff1c1c1c;
inline constexpr QRgb SliderMark = 0xff6a6a6a;
inline constexpr QRgb ThumbBody = 0xffb0b0b0;
inline constexpr QRgb ThumbBodyHover = 0xffcfcfcf;
inline constexpr QRgb ThumbHighlight = 0xfff0f0f0;
inline constexpr QRgb ThumbShade = 0xff5a5a5a;
inline constexpr QRgb ThumbDisabled = 0xff444444;
inline constexpr QRgb Accent = 0xff7896e6; // hover and keyboard focus

} // namespace quillet::look
