// The audio CD: a drive (the system's default one) or a CUE/BIN or TOC/BIN image standing in
// for one. Table of contents, opening the drive, and the Source that plays a stretch of the
// disc. Sectors are 1/75 s: 588 frames of 44.1 kHz 16-bit stereo (2352 bytes).
// CdDisc is used on the UI thread; the Source's reads (through cdio paranoia) happen on the
// decoder thread, and nothing is read from the disc before its first Read or Seek.
#pragma once

#include "components/audio/sources/source.h"

#include <QString>

#include <memory>
#include <vector>

namespace quillet::audio {

inline constexpr int CdFramesPerSector = 588;
inline constexpr int CdSampleRate = 44100;

struct CdTrackInfo {
    int number = 0;      // as on the disc (usually 1 … 99)
    int firstSector = 0; // logical sector number, 0 = the first track's start
    int lastSector = 0;  // inclusive
};

struct CdToc {
    bool ready = false;              // a disc (or image) could be read at all
    bool directoryValid = false;     // its table of contents is complete and consistent
    std::vector<CdTrackInfo> tracks; // audio tracks only, in disc order
};

class CdDisc {
public:
    // deviceOrImage: a drive's device node or a .cue/.toc image; "" for the default drive.
    explicit CdDisc(const QString& deviceOrImage = {});
    ~CdDisc();
    CdDisc(const CdDisc&) = delete;
    CdDisc& operator=(const CdDisc&) = delete;

    // The drive or image this disc reads ("" when there is no CD drive at all). The default
    // drive is looked up afresh each time, so a drive plugged in later is found.
    [[nodiscard]] QString Device() const;
    // Reads the table of contents afresh, whether or not the disc is open. Never throws;
    // a missing drive, an empty drive or an unreadable image gives ready false.
    [[nodiscard]] CdToc ReadToc() const;
    // Takes hold of the drive (or image). Throws ComponentError when it cannot be opened.
    // Opening an open disc changes nothing.
    void Open();
    void Close(); // never throws
    [[nodiscard]] bool IsOpen() const { return m_handle != nullptr; }

private:
    QString m_requested;      // "" for the default drive
    void* m_handle = nullptr; // CdIo_t while open
};

// A Source delivering sectors firstSector … lastSector (inclusive) of the disc as 44.1 kHz
// stereo float, bit-exact to the disc's 16-bit samples. Throws ComponentError when the drive or
// image cannot be opened or the range is not within one disc. A read error or a disc that goes
// away ends the data: Read returns 0 and Failed() is true.
[[nodiscard]] std::unique_ptr<Source> OpenCdSource(const QString& deviceOrImage, int firstSector,
                                                   int lastSector);

} // namespace quillet::audio
