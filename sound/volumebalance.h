// The volume and balance bars: each change is sent at once to the volume stage and kept as
// the stored text for the settings file. Volume 0…100 sends 0…32000; balance −100…100
// sends −16000…16000. UI thread only. Bar values in whole steps.
#pragma once

#include "controls/controls.h"

#include <QObject>
#include <QString>

namespace quillet {

class MasterVolume;

class VolumeBalance : public QObject {
    Q_OBJECT
public:
    static constexpr int VolumeDesign = 50;
    static constexpr int VolumeSmallStep = 5;
    static constexpr int VolumeLargeStep = 50;
    static constexpr int BalanceDesign = 0;
    static constexpr int BalanceSmallStep = 20;
    static constexpr int BalanceLargeStep = 100;

    // volumeText, balanceText: the stored texts, read at start and written at exit.
    VolumeBalance(MasterVolume& masterVolume, QString& volumeText, QString& balanceText,
                  QObject* parent = nullptr);

    // The bars' change notifications (connected to the bars here).
    void ApplyVolume();
    void ApplyBalance();
    // Start-up: sends both bars' values to the volume stage once, leaving the stored texts
    // as read, so the stage matches the bars even when no change was raised.
    void SendBarsToVolumeStage();

    [[nodiscard]] ScrollBarControl& SkinScrollBarVolume() { return m_volume; }
    [[nodiscard]] ScrollBarControl& SkinScrollBarBalance() { return m_balance; }

private:
    MasterVolume& m_masterVolume;
    QString& m_volumeText;
    QString& m_balanceText;
    ScrollBarControl m_volume{0, 100, VolumeDesign};
    ScrollBarControl m_balance{-100, 100, BalanceDesign};
};

} // namespace quillet
