// The CD source as the program sees it: the disc in the system's default drive (or a CUE/BIN
// image given at construction), its table of contents, and the range that the next play
// reads. UI thread only; the reading itself happens on the decoder thread. Sectors are 1/75 s.
// A selected range plays once: after that play has stopped or ended, a Start with no new
// SelectRange plays nothing (it starts and ends at once, with OnStart and OnStop).
#pragma once

#include "components/audio/player.h"
#include "components/audio/sources/cddisc.h"
#include "playback/audioengine.h"

#include <QString>

#include <optional>

namespace quillet::audio {

class CdInput : public CDReader, private CdTracks {
public:
    CdInput(Player& player, const QString& device) : m_player(player), m_disc(device) {}

    void Open() override { m_disc.Open(); }
    void Close() override;
    bool Ready() const override; // reads the table of contents afresh
    bool DirectoryValid() const override { return Toc().directoryValid; }
    const CdTracks& Tracks() const override { return *this; }
    void SelectRange(int trackStart, int trackEnd) override;
    void SetOutput(const QString& name) override;

private:
    int Count() const override { return int(Toc().tracks.size()); }
    CdTrack Item(int index) const override;
    // The table of contents last read (read now if it never was).
    const CdToc& Toc() const;

    Player& m_player;
    CdDisc m_disc;
    mutable std::optional<CdToc> m_toc;
};

} // namespace quillet::audio
