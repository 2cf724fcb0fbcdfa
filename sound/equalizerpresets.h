// The ten-band graphic equalizer as the user drives it: ten band sliders (−16…16 dB) that
// carry their positions to the equalizer's bands, the eleven presets of the preset menu
// (My Settings and ten fixed curves), the current preset number and the My Settings values
// that persist. A slider put raises its change synchronously, so a preset choice sets the
// preset number first and My Settings values are written only while "1" is current.
// UI thread only. Gains in whole dB, edges in Hz.
#pragma once

#include "controls/controls.h"

#include <QObject>
#include <QString>

#include <array>
#include <span>

namespace quillet {

class Eq;

class EqualizerPresets : public QObject {
    Q_OBJECT
public:
    static constexpr int BandCount = 10;
    static constexpr int PresetCount = 11;
    static constexpr int MinGain = -16;
    static constexpr int MaxGain = 16;
    using BandTexts = std::array<QString, BandCount>;

    // A preset item: its name, its caption and its preset number ("1"…"11"); the separator
    // has an empty number.
    struct MenuEntry {
        const char* name;
        const char* caption;
        const char* number;
    };
    // The popup's items in screen order: My Settings, a separator, then the fixed presets
    // (Soft Rock stands above Reggae).
    static const std::array<MenuEntry, PresetCount + 1> Menu;
    // Band edges (11 values, Hz) and the captions above the sliders.
    static const std::array<double, BandCount + 1> Edges;
    static const std::array<const char*, BandCount> Captions;
    // The values of fixed preset number 2…11 (number 1 is My Settings).
    [[nodiscard]] static const BandTexts& FixedValues(int presetNumber);

    // presetNumber: the stored "equalizerPreset" text; mySettings: the stored band texts,
    // band 0 first. Both are read and written in place.
    EqualizerPresets(Eq& eq, QString& presetNumber, std::span<QString, BandCount> mySettings,
                     QObject* parent = nullptr);

    // Start-up: creates the ten bands in order, then applies the stored preset ("1"…"11"
    // exactly; anything else checks Classical and keeps the stored text).
    void CreateEqualizerBands();
    void ApplyStoredPreset();

    // Moves the ten sliders, band 0 first; a text that is not a whole number counts as 0.
    void SetEqualizerSliders(const BandTexts& values);
    // Check marks in preset-number order (custom, classical, … techno).
    void SetPresetChecks(const std::array<bool, PresetCount>& checks);

    // The preset items, by preset number 1…11 (custom_Click … techno_Click).
    void ChoosePreset(int presetNumber);
    void custom_Click() { ChoosePreset(1); }
    void classical_Click() { ChoosePreset(2); }
    void dance_Click() { ChoosePreset(3); }
    void default_Click() { ChoosePreset(4); }
    void fullbass_Click() { ChoosePreset(5); }
    void fullTreble_Click() { ChoosePreset(6); }
    void party_Click() { ChoosePreset(7); }
    void pop_Click() { ChoosePreset(8); }
    void reggae_Click() { ChoosePreset(9); }
    void softRock_Click() { ChoosePreset(10); }
    void techno_Click() { ChoosePreset(11); }

    // A band slider moved: its band's gain follows; with My Settings current, its value too.
    void SliderBand_OnChange(int index);

    [[nodiscard]] SliderControl& SliderBand(int index) { return *m_sliders[size_t(index)]; }
    // The check mark of preset number 1…11.
    [[nodiscard]] MenuItemControl& PresetItem(int presetNumber)
    {
        return *m_items[size_t(presetNumber - 1)];
    }
    [[nodiscard]] const QString& CurrentPreset() const { return m_presetNumber; }

private:
    void ApplyPreset(int presetNumber);

    Eq& m_eq;
    QString& m_presetNumber;
    std::span<QString, BandCount> m_mySettings;
    std::array<SliderControl*, BandCount> m_sliders{};
    std::array<MenuItemControl*, PresetCount> m_items{};
};

} // namespace quillet
