// Table of contents of a CD drive or image, through libcdio.
#include "components/audio/sources/cddisc.h"
#include "components/audio/sources/cdio_util.h"
#include "playback/audioengine.h"

#include <QFile>

#include <cdio/logging.h>

#include <mutex>

namespace quillet::audio {

namespace {

void QuietLog(cdio_log_level_t, const char*) {}

// libcdio's own messages stay off the terminal.
void QuietCdio()
{
    static std::once_flag once;
    std::call_once(once, [] { cdio_log_set_handler(QuietLog); });
}

// The gap between the audio session and a data session of a multi-session ("enhanced") CD:
// lead-out, lead-in and pregap, which no audio track includes.
constexpr lsn_t SessionGapSectors = 11400;

} // namespace

QString DefaultCdDevice()
{
    QuietCdio();
    char* device = cdio_get_default_device(nullptr);
    const QString result = device != nullptr ? QFile::decodeName(device) : QString();
    cdio_free(device);
    return result;
}

CdIo_t* OpenCdio(const QString& deviceOrImage)
{
    QuietCdio();
    if (deviceOrImage.isEmpty())
        return nullptr;
    const QByteArray name = QFile::encodeName(deviceOrImage);
    if (deviceOrImage.endsWith(".cue", Qt::CaseInsensitive))
        return cdio_open_cue(name.constData());
    return cdio_open(name.constData(), DRIVER_UNKNOWN);
}

lsn_t CdLastSector(CdIo_t* cdio)
{
    const lsn_t leadout = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
    return leadout == CDIO_INVALID_LSN ? -1 : leadout - 1;
}

CdDisc::CdDisc(const QString& deviceOrImage) : m_requested(deviceOrImage) {}

QString CdDisc::Device() const
{
    return m_requested.isEmpty() ? DefaultCdDevice() : m_requested;
}

CdDisc::~CdDisc()
{
    Close();
}

void CdDisc::Open()
{
    if (m_handle != nullptr)
        return;
    const QString device = Device();
    m_handle = OpenCdio(device);
    if (m_handle == nullptr)
        throw ComponentError(device.isEmpty() ? std::string("no CD drive")
                                              : "cannot open the CD " + device.toStdString());
}

void CdDisc::Close()
{
    if (m_handle != nullptr)
        cdio_destroy(static_cast<CdIo_t*>(m_handle));
    m_handle = nullptr;
}

CdToc CdDisc::ReadToc() const
{
    CdToc toc;
    CdIo_t* cdio = OpenCdio(Device());
    if (cdio == nullptr)
        return toc;
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    const lsn_t discEnd = CdLastSector(cdio);
    if (first != CDIO_INVALID_TRACK && count != CDIO_INVALID_TRACK && count > 0) {
        toc.ready = true;
        toc.directoryValid = discEnd >= 0;
        // On a multi-session disc the audio of the first session ends a session gap before
        // the next session begins.
        lsn_t nextSession = 0;
        if (cdio_get_last_session(cdio, &nextSession) != DRIVER_OP_SUCCESS)
            nextSession = 0;
        lsn_t previousEnd = -1;
        for (track_t t = first; t < first + count; ++t) {
            const lsn_t start = cdio_get_track_lsn(cdio, t);
            lsn_t last = cdio_get_track_last_lsn(cdio, t);
            if (start == CDIO_INVALID_LSN || last == CDIO_INVALID_LSN || start <= previousEnd ||
                last < start || last > discEnd) {
                toc.directoryValid = false;
                break;
            }
            previousEnd = last;
            if (nextSession > 0 && start < nextSession && last >= nextSession - SessionGapSectors)
                last = nextSession - SessionGapSectors - 1;
            if (cdio_get_track_format(cdio, t) == TRACK_FORMAT_AUDIO && last >= start)
                toc.tracks.push_back({int(t), int(start), int(last)});
        }
        if (!toc.directoryValid)
            toc.tracks.clear();
    }
    cdio_destroy(cdio);
    return toc;
}

} // namespace quillet::audio
