// Plays a stretch of an audio CD through cdio paranoia (error-correcting reads), opened lazily
// on the decoder thread.
#include "components/audio/sources/cddisc.h"
#include "components/audio/sources/cdio_util.h"
#include "playback/audioengine.h"

#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <algorithm>

namespace quillet::audio {

namespace {

// Paranoia reports through a callback without a context pointer: the source being read on
// this thread notes the events that mean lost data.
thread_local bool t_lostData = false;

void ParanoiaEvent(long, paranoia_cb_mode_t event)
{
    if (event == PARANOIA_CB_SKIP || event == PARANOIA_CB_DRIFT)
        t_lostData = true;
}

// Gives up on a sector after this many failed re-reads (a disc that went away ends the track
// within a few reads instead of hanging).
constexpr int MaxRetries = 3;

class CdSource final : public Source {
public:
    CdSource(QString device, int firstSector, int lastSector)
        : m_device(std::move(device)), m_first(firstSector), m_last(lastSector)
    {
    }
    ~CdSource() override { Release(); }

    StreamFormat Format() const override { return {CdSampleRate, 2}; }
    int64_t LengthFrames() const override
    {
        return int64_t(m_last - m_first + 1) * CdFramesPerSector;
    }
    bool Failed() const override { return m_failed; }

    size_t Read(float* out, size_t frames) override
    {
        if (!m_failed && !Prepare())
            m_failed = true;
        size_t done = 0;
        while (done < frames && !m_failed && m_position < LengthFrames()) {
            // The disc now ends before the stretch does (an image cut short): what is left
            // plays, then the data ends as after a read error.
            if (m_position >= m_readableFrames) {
                m_failed = true;
                break;
            }
            if (m_sectorFrame >= CdFramesPerSector && !ReadSector())
                break;
            const size_t n = std::min(frames - done, size_t(CdFramesPerSector - m_sectorFrame));
            const int16_t* from = m_sector + m_sectorFrame * 2;
            for (size_t i = 0; i < n * 2; ++i)
                out[done * 2 + i] = float(from[i]) / 32768.0f;
            done += n;
            m_sectorFrame += int(n);
            m_position += int64_t(n);
        }
        return done;
    }

    void Seek(int64_t frame) override
    {
        m_position = std::clamp<int64_t>(frame, 0, LengthFrames());
        m_sectorFrame = CdFramesPerSector; // next Read fetches the sector holding m_position
        m_needSeek = true;
    }

private:
    bool Prepare()
    {
        if (m_paranoia != nullptr)
            return true;
        m_cdio = OpenCdio(m_device);
        if (m_cdio != nullptr)
            m_drive = cdio_cddap_identify_cdio(m_cdio, CDDA_MESSAGE_FORGETIT, nullptr);
        if (m_drive != nullptr) {
            // CD audio arrives little-endian from drives and images alike; set it rather than
            // let the library guess from the music (quiet or synthetic passages fool it).
            m_drive->bigendianp = 0;
            if (cdio_cddap_open(m_drive) == 0)
                m_paranoia = cdio_paranoia_init(m_drive);
        }
        // The disc may have changed since the stretch was chosen; read only what it still has
        // (beyond its end an image reads as silence instead of failing).
        const lsn_t discEnd = m_paranoia != nullptr ? CdLastSector(m_cdio) : -1;
        if (discEnd < m_first) {
            Release();
            return false;
        }
        const int readableLast = std::min<int>(m_last, discEnd);
        m_readableFrames = int64_t(readableLast - m_first + 1) * CdFramesPerSector;
        cdio_paranoia_modeset(m_paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
        cdio_paranoia_set_range(m_paranoia, m_first, readableLast);
        return true;
    }

    bool ReadSector()
    {
        const int64_t sectorIndex = m_position / CdFramesPerSector;
        if (m_needSeek) {
            cdio_paranoia_seek(m_paranoia, int32_t(m_first + sectorIndex), SEEK_SET);
            m_needSeek = false;
        }
        t_lostData = false;
        const int16_t* data = cdio_paranoia_read_limited(m_paranoia, ParanoiaEvent, MaxRetries);
        if (data == nullptr || t_lostData) {
            m_failed = true;
            return false;
        }
        m_sector = data;
        m_sectorFrame = int(m_position % CdFramesPerSector);
        return true;
    }

    void Release()
    {
        if (m_paranoia != nullptr)
            cdio_paranoia_free(m_paranoia);
        if (m_drive != nullptr)
            cdio_cddap_close_no_free_cdio(m_drive);
        if (m_cdio != nullptr)
            cdio_destroy(m_cdio);
        m_paranoia = nullptr;
        m_drive = nullptr;
        m_cdio = nullptr;
    }

    QString m_device;
    int m_first;
    int m_last;
    CdIo_t* m_cdio = nullptr;
    cdrom_drive_t* m_drive = nullptr;
    cdrom_paranoia_t* m_paranoia = nullptr;
    const int16_t* m_sector = nullptr;     // paranoia's buffer, valid until its next read
    int m_sectorFrame = CdFramesPerSector; // next frame of m_sector; all used at start
    int64_t m_position = 0;                // frames from m_first's start
    int64_t m_readableFrames = 0;          // of the stretch, on the disc as opened
    bool m_needSeek = true;
    bool m_failed = false;
};

} // namespace

std::unique_ptr<Source> OpenCdSource(const QString& deviceOrImage, int firstSector, int lastSector)
{
    CdIo_t* cdio = OpenCdio(deviceOrImage);
    if (cdio == nullptr)
        throw ComponentError("cannot open the CD " + deviceOrImage.toStdString());
    const lsn_t discEnd = CdLastSector(cdio);
    cdio_destroy(cdio);
    if (firstSector < 0 || lastSector < firstSector || lastSector > discEnd)
        throw ComponentError("no such stretch of the CD");
    return std::make_unique<CdSource>(deviceOrImage, firstSector, lastSector);
}

} // namespace quillet::audio
