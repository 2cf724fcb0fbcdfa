#include "sound/volumebalance.h"

#include "platform/ignorefailure.h"
#include "playback/audioengine.h"

#include <cmath>

namespace quillet {

namespace {
// 100 → 32000, the stage's unity.
int StageVolume(int value)
{
    return value * 320;
}
// ±100 → ±16000, one side silent; exactly value × 160 over the bar's range.
int StageBalance(int value)
{
    return int(std::lround(value * 3.2 * 50));
}
} // namespace

VolumeBalance::VolumeBalance(MasterVolume& masterVolume, QString& volumeText, QString& balanceText,
                             QObject* parent)
    : QObject(parent), m_masterVolume(masterVolume), m_volumeText(volumeText),
      m_balanceText(balanceText)
{
    connect(&m_volume, &ScrollBarControl::changed, this, &VolumeBalance::ApplyVolume);
    connect(&m_balance, &ScrollBarControl::changed, this, &VolumeBalance::ApplyBalance);
}

void VolumeBalance::ApplyVolume()
{
    IgnoreFailure([&] {
        m_masterVolume.SetVolume(StageVolume(m_volume.Value()));
        m_volumeText = QString::number(m_volume.Value());
    });
}

void VolumeBalance::ApplyBalance()
{
    IgnoreFailure([&] {
        m_balanceText = QString::number(m_balance.Value());
        m_masterVolume.SetBalance(StageBalance(m_balance.Value()));
    });
}

void VolumeBalance::SendBarsToVolumeStage()
{
    IgnoreFailure([&] { m_masterVolume.SetVolume(StageVolume(m_volume.Value())); });
    IgnoreFailure([&] { m_masterVolume.SetBalance(StageBalance(m_balance.Value())); });
}

} // namespace quillet
