// Ogg Vorbis files through libvorbisfile: exact length from the stream's granule positions,
// sample-exact seeking (ov_pcm_seek), float output. The library is loaded at the first Vorbis
// file, as libsndfile is (sharedlibrary.h).
#define OV_EXCLUDE_STATIC_CALLBACKS
#include "components/audio/sharedlibrary.h"
#include "components/audio/sources/absurdlevels.h"
#include "components/audio/sources/filesources.h"
#include "playback/audioengine.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <unistd.h>

namespace quillet::audio {

namespace {

#define QUILLET_VORBISFILE_CALLS(X)                                                                \
    X(ov_clear)                                                                                    \
    X(ov_info)                                                                                     \
    X(ov_open_callbacks)                                                                           \
    X(ov_pcm_seek)                                                                                 \
    X(ov_pcm_total)                                                                                \
    X(ov_read_float)                                                                               \
    X(ov_seekable)                                                                                 \
    X(ov_streams)

struct VorbisfileCalls {
#define QUILLET_VORBISFILE_MEMBER(name) decltype(&::name) name = nullptr;
    QUILLET_VORBISFILE_CALLS(QUILLET_VORBISFILE_MEMBER)
#undef QUILLET_VORBISFILE_MEMBER
};

const VorbisfileCalls* LoadVorbisfileCalls()
{
    static const VorbisfileCalls* const loaded = []() -> const VorbisfileCalls* {
        static VorbisfileCalls calls;
        void* library = OpenSharedLibrary("libvorbisfile.so.3");
        if (!library)
            return nullptr;
#define QUILLET_VORBISFILE_RESOLVE(name)                                                           \
    if (!Resolve(library, #name, calls.name))                                                      \
        return nullptr;
        QUILLET_VORBISFILE_CALLS(QUILLET_VORBISFILE_RESOLVE)
#undef QUILLET_VORBISFILE_RESOLVE
        return &calls;
    }();
    return loaded;
}

// The library reads through our descriptor.
size_t ReadBytes(void* to, size_t size, size_t count, void* fd)
{
    const ssize_t got = ::read(*static_cast<int*>(fd), to, size * count);
    return got > 0 ? size_t(got) / std::max<size_t>(size, 1) : 0;
}
int SeekBytes(void* fd, ogg_int64_t offset, int whence)
{
    return ::lseek(*static_cast<int*>(fd), off_t(offset), whence) < 0 ? -1 : 0;
}
long TellBytes(void* fd)
{
    return long(::lseek(*static_cast<int*>(fd), 0, SEEK_CUR));
}

class VorbisSource final : public Source {
public:
    VorbisSource(const VorbisfileCalls& ov, int fd) : m_ov(ov), m_fd(fd) {}
    ~VorbisSource() override
    {
        if (m_open)
            m_ov.ov_clear(&m_file);
        ::close(m_fd);
    }
    VorbisSource(const VorbisSource&) = delete;
    VorbisSource& operator=(const VorbisSource&) = delete;

    // Opens the stream: null on success, else what is wrong with it.
    const char* Open()
    {
        // The callbacks' data is m_fd itself: the source lives on the heap and never moves.
        const ov_callbacks callbacks{ReadBytes, SeekBytes, nullptr, TellBytes};
        m_open = m_ov.ov_open_callbacks(&m_fd, &m_file, nullptr, 0, callbacks) == 0;
        if (!m_open)
            return "no Vorbis stream";
        // A chain of streams plays as one only while rate and channels stay the same.
        const long links = m_ov.ov_streams(&m_file);
        const vorbis_info* first = m_ov.ov_info(&m_file, 0);
        if (m_ov.ov_seekable(&m_file) == 0 || links < 1 || first == nullptr)
            return "no Vorbis stream";
        if (!IsPlayableFormat(first->rate, first->channels))
            return "unsupported Vorbis stream";
        for (long i = 1; i < links; ++i) {
            const vorbis_info* info = m_ov.ov_info(&m_file, int(i));
            if (info == nullptr || info->rate != first->rate || info->channels != first->channels)
                return "Vorbis streams of different formats";
        }
        m_format = {int(first->rate), first->channels};
        m_length = m_ov.ov_pcm_total(&m_file, -1);
        return m_length >= 0 ? nullptr : "no Vorbis stream";
    }

    StreamFormat Format() const override { return m_format; }
    int64_t LengthFrames() const override { return m_length; }
    bool Failed() const override { return m_failed; }

    size_t Read(float* out, size_t frames) override
    {
        const auto channels = size_t(m_format.channels);
        size_t done = 0;
        while (done < frames && !m_failed) {
            float** pcm = nullptr;
            int link = 0;
            const long got = m_ov.ov_read_float(&m_file, &pcm,
                                                int(std::min<size_t>(frames - done, 4096)), &link);
            if (got == OV_HOLE)
                continue; // a gap in the pages: decoding goes on after it
            if (got < 0)
                m_failed = true;
            if (got <= 0)
                break;
            float* to = out + done * channels;
            for (size_t i = 0; i < size_t(got); ++i)
                for (size_t c = 0; c < channels; ++c)
                    to[i * channels + c] = pcm[c][i];
            // A damaged packet may decode to non-numbers or absurd values; they must not
            // reach the filters.
            SilenceAbsurdSamples(to, size_t(got) * channels);
            done += size_t(got);
        }
        return done;
    }

    void Seek(int64_t frame) override
    {
        if (m_ov.ov_pcm_seek(&m_file, std::clamp<int64_t>(frame, 0, m_length)) != 0)
            m_failed = true;
    }

private:
    const VorbisfileCalls& m_ov;
    int m_fd; // ours, closed with the source
    OggVorbis_File m_file{};
    bool m_open = false;
    StreamFormat m_format;
    int64_t m_length = 0;
    bool m_failed = false;
};

} // namespace

std::unique_ptr<Source> OpenVorbisSource(int fd, const QString& path)
{
    const VorbisfileCalls* ov = LoadVorbisfileCalls();
    if (!ov) {
        ::close(fd);
        throw ComponentError("cannot decode " + path.toStdString() + ": no libvorbisfile");
    }
    auto source = std::make_unique<VorbisSource>(*ov, fd);
    if (const char* why = source->Open())
        throw ComponentError(std::string(why) + ": " + path.toStdString());
    return source;
}

} // namespace quillet::audio
