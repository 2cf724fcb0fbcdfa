// The CD source as the program sees it: the disc in the system's default drive (or a CUE/BIN
// image given at construction), its table of contents, and the range that the next play
// reads. UI thread only; the reading itself happens on the decoder thread. Sectors are 1/75 s.
#pragma once

#include "components/audio/player.h"
#include "playback/audioengine.h"

#include <QString>

#include <vector>

namespace quillet::audio {

class CdInput : public CDReader, private CdTracks {
public:
    CdInput(Player& player, QString device) : m_player(player), m_device(std::move(device)) {}

    void Open() override;
    void Close() override;
    bool Ready() const override;
    bool DirectoryValid() const override;
    const CdTracks& Tracks() const override { return *this; }
    void SelectRange(int trackStart, int trackEnd) override;
    void SetOutput(const QString& name) override;

private:
    int Count() const override { return int(m_tracks.size()); }
    CdTrack Item(int index) const override;

    Player& m_player;
    QString m_device;
    std::vector<CdTrack> m_tracks;
    bool m_open = false;
};

}  // namespace quillet::audio
