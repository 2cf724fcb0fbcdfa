// Small shared pieces of the CD code over libcdio: opening a drive or image quietly.
// Any thread (each caller uses its own handle).
#pragma once

#include <QString>

#include <cdio/cdio.h>

namespace quillet::audio {

// The default drive's device node, "" when the system has none.
[[nodiscard]] QString DefaultCdDevice();
// Opens a drive device or a .cue/.toc/.nrg image; nullptr when that fails. libcdio's own
// messages are kept off the terminal.
[[nodiscard]] CdIo_t* OpenCdio(const QString& deviceOrImage);
// The last sector of the disc's audio (the lead-out minus one), or -1.
[[nodiscard]] lsn_t CdLastSector(CdIo_t* cdio);

} // namespace quillet::audio
