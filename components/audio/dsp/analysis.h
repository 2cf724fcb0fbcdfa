// What the level meters, the spectrum and the oscilloscope show, computed from a window of
// the interleaved stereo float samples that are being heard. Levels and magnitudes are in
// dBFS (0 dB: a full-scale sine's peak, or a full-scale sine's spectral line), never below
// the floors given here. Pure functions and a self-contained analyser: any one thread.
#pragma once

#include <array>
#include <cstddef>

struct kiss_fftr_state;

namespace quillet::audio {

// Level meters: the peak of each channel over the last PeakWindowFrames frames.
inline constexpr size_t PeakWindowFrames = 99;
inline constexpr float LevelFloorDb = -96.0f; // silence, and anything quieter

struct ChannelLevels {
    float leftDb = LevelFloorDb;
    float rightDb = LevelFloorDb;
};

// Peak |sample| of each channel over `frames` frames, as 20·log10(peak), floored.
[[nodiscard]] ChannelLevels PeakLevels(const float* stereo, size_t frames);

// Oscilloscope: the mono mix (L + R) / 2 of each frame, in −1…1 units like the input.
void ScopeSamples(const float* stereo, size_t frames, float* mono);

// Spectrum: a Hann-windowed 512-point real FFT of the mono mix; bin k covers k · rate / 512 Hz
// (k = 0 … 255). A full-scale sine centred on a bin reads 0 dB in that bin.
class SpectrumAnalyzer {
public:
    static constexpr size_t WindowFrames = 512;
    static constexpr size_t Bins = 256;
    static constexpr float FloorDb = -120.0f;

    SpectrumAnalyzer();
    ~SpectrumAnalyzer();
    SpectrumAnalyzer(const SpectrumAnalyzer&) = delete;
    SpectrumAnalyzer& operator=(const SpectrumAnalyzer&) = delete;

    // Analyses WindowFrames stereo frames; fewer are padded with silence.
    [[nodiscard]] std::array<float, Bins> Analyze(const float* stereo, size_t frames);

private:
    kiss_fftr_state* m_fft;
    std::array<float, WindowFrames> m_window{};
    float m_windowSum = 0;
};

} // namespace quillet::audio
