#include "sound/equalizerpresets.h"

#include "platform/ignorefailure.h"
#include "playback/audioengine.h"

#include <algorithm>
#include <stdexcept>

namespace quillet {

namespace {

using BandTexts = EqualizerPresets::BandTexts;

// Presets 2…11 in preset-number order.
const std::array<BandTexts, EqualizerPresets::PresetCount - 1> FixedPresets{{
    {"0", "0", "0", "0", "0", "0", "-6", "-6", "-6", "-10"},                // Classical
    {"0", "0", "0", "0", "6", "0", "6", "6", "0", "0"},                     // Dance
    {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0"},                     // Default
    {"-16", "-16", "-16", "-16", "-16", "-16", "-16", "-16", "-16", "-16"}, // Full Bass
    {"-8", "-8", "-8", "-4", "4", "8", "12", "12", "12", "12"},             // Full Treble
    {"4", "4", "0", "0", "0", "0", "0", "0", "4", "4"},                     // Party
    {"-4", "4", "6", "6", "4", "-2", "-4", "-4", "-4", "-4"},               // Pop
    {"0", "0", "-3", "-5", "0", "4", "4", "0", "0", "0"},                   // Reggae
    {"2", "2", "1", "-3", "-4", "-5", "-4", "-1", "3", "6"},                // Soft Rock
    {"3", "2", "0", "-3", "-3", "0", "4", "6", "6", "5"},                   // Techno
}};

constexpr int MySettings = 1;
constexpr int Classical = 2;

// A stored band text as a gain; anything that is not a whole number counts as flat.
int BandValue(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 0;
}

} // namespace

const std::array<EqualizerPresets::MenuEntry, EqualizerPresets::PresetCount + 1>
    EqualizerPresets::Menu{{
        {"custom", "My Settings", "1"},
        {"lineSpace", "-", ""},
        {"classical", "Classical", "2"},
        {"dance", "Dance", "3"},
        {"default", "Default", "4"},
        {"fullbass", "Full Bass", "5"},
        {"fullTreble", "Full Treble", "6"},
        {"party", "Party", "7"},
        {"pop", "Pop", "8"},
        {"softRock", "Soft Rock", "10"},
        {"reggae", "Reggae", "9"},
        {"techno", "Techno", "11"},
    }};

const std::array<double, EqualizerPresets::BandCount + 1> EqualizerPresets::Edges{
    0, 32, 64, 130, 260, 500, 1000, 2000, 4000, 8300, 16500};

const std::array<const char*, EqualizerPresets::BandCount> EqualizerPresets::Captions{
    "32", "64", "130", "260", "500", "1K", "2K", "4K", "8.3K", "16.5K"};

const BandTexts& EqualizerPresets::FixedValues(int presetNumber)
{
    if (presetNumber < Classical || presetNumber > PresetCount)
        throw std::out_of_range("not a fixed preset");
    return FixedPresets[size_t(presetNumber - Classical)];
}

EqualizerPresets::EqualizerPresets(Eq& eq, QString& presetNumber,
                                   std::span<QString, BandCount> mySettings, QObject* parent)
    : QObject(parent), m_eq(eq), m_presetNumber(presetNumber), m_mySettings(mySettings)
{
    for (int k = 0; k < BandCount; ++k) {
        m_sliders[size_t(k)] = new SliderControl(MinGain, MaxGain, this);
        // Synchronous: a put inside SetEqualizerSliders reaches the band before the next put.
        connect(m_sliders[size_t(k)], &SliderControl::positionChanged, this,
                [this, k] { SliderBand_OnChange(k); });
    }
    for (auto& item : m_items)
        item = new MenuItemControl(this);
}

void EqualizerPresets::CreateEqualizerBands()
{
    EqBands& bands = m_eq.Filters();
    for (int i = 1; i <= BandCount; ++i)
        bands.Add(Edges[size_t(i - 1)], Edges[size_t(i)], 0);
}

void EqualizerPresets::ApplyStoredPreset()
{
    for (int number = 1; number <= PresetCount; ++number) {
        if (m_presetNumber == QString::number(number)) {
            ApplyPreset(number);
            return;
        }
    }
    // Any other text: Classical is shown, and the text read stays the current preset, so
    // slider moves keep away from My Settings and the same text goes back to the file.
    ApplyPreset(Classical);
}

void EqualizerPresets::SetEqualizerSliders(const BandTexts& values)
{
    for (int k = 0; k < BandCount; ++k)
        m_sliders[size_t(k)]->SetPosition(BandValue(values[size_t(k)]));
}

void EqualizerPresets::SetPresetChecks(const std::array<bool, PresetCount>& checks)
{
    for (int i = 0; i < PresetCount; ++i)
        m_items[size_t(i)]->SetChecked(checks[size_t(i)]);
}

void EqualizerPresets::ChoosePreset(int presetNumber)
{
    if (presetNumber < 1 || presetNumber > PresetCount)
        return;
    // First: the sliders' change handler reads it while they move.
    m_presetNumber = QString::number(presetNumber);
    ApplyPreset(presetNumber);
}

void EqualizerPresets::ApplyPreset(int presetNumber)
{
    std::array<bool, PresetCount> checks{};
    checks[size_t(presetNumber - 1)] = true;
    SetPresetChecks(checks);
    if (presetNumber == MySettings) {
        // A copy: the moves write the same texts back while they run.
        BandTexts values;
        std::copy(m_mySettings.begin(), m_mySettings.end(), values.begin());
        SetEqualizerSliders(values);
    } else {
        SetEqualizerSliders(FixedValues(presetNumber));
    }
}

void EqualizerPresets::SliderBand_OnChange(int index)
{
    if (index < 0 || index >= BandCount)
        return;
    const int value = m_sliders[size_t(index)]->Position();
    IgnoreFailure([&] { m_eq.Filters().Item(index).SetGain(double(value)); });
    if (m_presetNumber == QLatin1String("1"))
        m_mySettings[size_t(index)] = QString::number(value);
}

} // namespace quillet
