// Filter design for the graphic equalizer: the sections that realise the bands, biquad
// coefficients, and the gain solver that makes the cascade's response at each band's control
// points equal the band's gain. Pure functions, any thread, no allocation. Frequencies in Hz,
// gains in dB, coefficients normalised so that a0 = 1.
#pragma once

#include <array>
#include <cstddef>

namespace quillet::audio {

inline constexpr int MaxEqBands = 16;
// The bands' own sections and the extra ones that hold the outer bands flat (see LayOutBands).
inline constexpr int MaxEqSections = MaxEqBands + 4;
inline constexpr int MaxEqPoints = MaxEqBands + 6;

// One second-order section: y = (b0 + b1 z⁻¹ + b2 z⁻²) / (1 + a1 z⁻¹ + a2 z⁻²) x.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    [[nodiscard]] bool IsUnity() const { return b0 == 1 && b1 == a1 && b2 == a2; }
};

enum class SectionKind { LowShelf, Peak, HighShelf };

// A section's shape: its kind, its corner (shelves: half its gain in dB) or centre (peaking)
// and its Q; the band it serves, and whether it only helps that band's own section. Its gain
// is what the solver chooses.
struct SectionShape {
    SectionKind kind = SectionKind::Peak;
    double hz = 1000;
    double q = 1;
    int band = 0;
    bool helper = false;
    bool operator==(const SectionShape&) const = default;
};

// A frequency where the response must equal the gain of `band`; `weight` says how much a miss
// there counts against a miss elsewhere.
struct ControlPoint {
    double hz = 1000;
    int band = 0;
    double weight = 1;
};

// The bands of one equalizer at one rate, as sections and control points. Each band has a
// centre where its gain is met:
// - a band starting at 0 Hz (the lowest) has its centre half an octave below its upper edge
//   (32 Hz → 22.6 Hz); it is a low shelf, helped by a wide low shelf and a wide peaking
//   section below its edge, and its gain is also held at 5/16, 1/2 and 5/8 of its upper edge
//   (10, 16 and 20 Hz), so that the bass it sets reaches down to the lowest notes;
// - the last band of two or more, when it starts above 0 Hz, has its centre at the geometric
//   mean of its edges (8.3 k…16.5 kHz → 11.7 kHz); it is a high shelf near its lower edge,
//   helped by a wide high shelf below it, and its gain is also held at its upper edge and at
//   2.17 and 2.41 times its lower edge (16.5, 18 and 20 kHz) as far as the rate allows;
// - every other band is a peaking section at the geometric mean of its edges, its centre.
// A band takes part only when its centre lies below MaxCentreFraction of the rate; otherwise
// it is left flat. A control point takes part below MaxPointFraction of the rate.
inline constexpr double MaxCentreFraction = 0.45;
inline constexpr double MaxPointFraction = 0.47;
inline constexpr double PeakQ = 1.0; // about 1.4 octaves between the half-gain points

struct EqLayout {
    int count = 0; // bands
    double rate = 44100;
    std::array<double, MaxEqBands> centreHz{};
    std::array<bool, MaxEqBands> active{};
    int sectionCount = 0; // lowest first
    std::array<SectionShape, MaxEqSections> sections{};
    int pointCount = 0;
    std::array<ControlPoint, MaxEqPoints> points{};
};

// `count` bands with the given edges (low < high, in creation order), laid out for `rate`.
[[nodiscard]] EqLayout LayOutBands(int count, const double* lowEdge, const double* highEdge,
                                   double rate);

[[nodiscard]] Biquad DesignSection(const SectionShape& shape, double gainDb, double rate);

// Magnitude response of a section in dB at a frequency.
[[nodiscard]] double ResponseDb(const Biquad& section, double hz, double rate);

using SectionGains = std::array<double, MaxEqSections>;

// Section gains (dB) such that the cascade's response at the control points matches the slider
// gains of their bands in the weighted least-squares sense: Gauss–Newton steps on the
// sections' measured responses, damped when a step would not improve the fit (within about
// 0.2 dB at every point over the player's presets and random slider settings). All-zero
// slider gains give exactly zero section gains.
[[nodiscard]] SectionGains SolveSectionGains(const EqLayout& layout,
                                             const std::array<double, MaxEqBands>& sliderDb);

// The sections for the given gains, lowest first.
[[nodiscard]] std::array<Biquad, MaxEqSections> DesignCascade(const EqLayout& layout,
                                                              const SectionGains& gainDb);

} // namespace quillet::audio
