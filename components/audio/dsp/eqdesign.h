// Filter design for the graphic equalizer: band shapes from the band edges, biquad
// coefficients, and the gain solver that makes the cascade's response at each band centre
// equal the band's gain. Pure functions, any thread, no allocation. Frequencies in Hz,
// gains in dB, coefficients normalised so that a0 = 1.
#pragma once

#include <array>
#include <cstddef>

namespace quillet::audio {

inline constexpr int MaxEqBands = 16;

// One second-order section: y = (b0 + b1 z⁻¹ + b2 z⁻²) / (1 + a1 z⁻¹ + a2 z⁻²) x.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    [[nodiscard]] bool IsUnity() const { return b0 == 1 && b1 == a1 && b2 == a2; }
};

enum class BandShapeKind { LowShelf, Peak, HighShelf };

// How a band between two edges is realised, and where its gain is measured ("centre"):
// - a band starting at 0 Hz is a low shelf whose corner (half its gain in dB) is its upper
//   edge; its centre is half an octave below that edge (32 Hz → 22.6 Hz);
// - the last band of two or more, when it starts above 0 Hz, is a high shelf whose corner is
//   its lower edge; its centre is the geometric mean of its edges (8.3 k…16.5 kHz → 11.7 kHz);
// - every other band is a peaking section at the geometric mean of its edges, which is also
//   its centre.
struct BandShape {
    BandShapeKind kind = BandShapeKind::Peak;
    double designHz = 1000; // corner (shelves) or centre (peaking)
    double centreHz = 1000; // where the response is made to equal the band's gain
};

[[nodiscard]] BandShape ShapeOfBand(double lowEdge, double highEdge, bool isLastOfSeveral);

// A band takes part at a sample rate only when its centre lies below this fraction of the rate
// (and its design frequency below the Nyquist frequency); otherwise it is left flat.
inline constexpr double MaxCentreFraction = 0.45;
[[nodiscard]] bool BandFitsRate(const BandShape& shape, double rate);

// Bandwidth of the peaking sections (Q 1.0: about 1.4 octaves between the half-gain points,
// wide enough to keep the ripple between the centres low) and the shelves' slope.
inline constexpr double PeakQ = 1.0;
inline constexpr double ShelfQ = 0.7071067811865476;

[[nodiscard]] Biquad DesignSection(const BandShape& shape, double gainDb, double rate);

// Magnitude response of a section / a cascade in dB at a frequency.
[[nodiscard]] double ResponseDb(const Biquad& section, double hz, double rate);

// The bands of one equalizer at one rate: shapes, which take part, and the slider gains.
struct EqLayout {
    int count = 0;
    double rate = 44100;
    std::array<BandShape, MaxEqBands> shapes{};
    std::array<bool, MaxEqBands> active{};
};

// Filter gains (dB, one per band; 0 for inactive bands) such that the cascade of the designed
// sections has, at every active band's centre, the slider gain of that band: a linear system
// from the sections' responses at a prototype gain, then two Newton refinements (within
// 0.02 dB over the player's presets and random slider settings). All-zero slider gains give
// exactly zero filter gains.
[[nodiscard]] std::array<double, MaxEqBands>
SolveFilterGains(const EqLayout& layout, const std::array<double, MaxEqBands>& sliderDb);

// The sections for the given filter gains (unity for inactive bands).
[[nodiscard]] std::array<Biquad, MaxEqBands>
DesignCascade(const EqLayout& layout, const std::array<double, MaxEqBands>& filterDb);

} // namespace quillet::audio
