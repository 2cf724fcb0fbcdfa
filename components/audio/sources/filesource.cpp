// OpenFileSource: checks that the path is a regular file and picks the decoder by content.
#include "components/audio/sources/filesources.h"
#include "playback/audioengine.h"

#include "platform/bytetext.h"
#include "platform/readfile.h"

#include <array>
#include <string_view>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace quillet::audio {

RegularFile OpenRegularFile(const QString& path)
{
    if (path.isEmpty())
        throw ComponentError("no file name given");
    // Never a FIFO or device, never blocking, never a name cut short at a NUL.
    const OpenedFile file = quillet::OpenRegularFile(path);
    if (file.fd >= 0)
        return {file.fd, int64_t(file.size)};
    const std::string name = ShownText(path).toStdString();
    if (file.error == EINVAL || file.error == EISDIR)
        throw ComponentError("not a regular file: " + name);
    throw ComponentError("cannot open " + name + ": " + std::strerror(file.error));
}

namespace {

// The first bytes of the file, enough for every container's signature (an Ogg page header
// with its longest segment table and the start of the first packet).
struct Head {
    std::array<char, 27 + 255 + 16> bytes{};
    size_t size = 0;

    [[nodiscard]] bool Has(size_t at, std::string_view text) const
    {
        return at + text.size() <= size &&
               std::memcmp(bytes.data() + at, text.data(), text.size()) == 0;
    }
    // The first packet of an Ogg stream begins with `magic`: the page opens the stream and
    // the packet follows its segment table.
    [[nodiscard]] bool OggStreamOf(std::string_view magic) const
    {
        return Has(0, "OggS") && size > 26 && (bytes[5] & 0x02) != 0 &&
               Has(27 + uint8_t(bytes[26]), magic);
    }
};

struct Decoder {
    bool (*probe)(const Head& head, int fd, int64_t size);
    std::unique_ptr<Source> (*open)(int fd, int64_t size, const QString& path);
};

// Tried in this order; the first whose probe accepts the content opens the file. MPEG audio
// has no signature of its own and comes last.
constexpr Decoder Decoders[] = {
    {[](const Head& h, int, int64_t) {
         return (h.Has(0, "RIFF") || h.Has(0, "RIFX") || h.Has(0, "RF64")) && h.Has(8, "WAVE");
     },
     [](int fd, int64_t, const QString& path) {
         return OpenSndfileSource(fd, path, SndfileKind::Wav);
     }},
    {[](const Head& h, int, int64_t) { return h.Has(0, "fLaC"); },
     [](int fd, int64_t, const QString& path) {
         return OpenSndfileSource(fd, path, SndfileKind::Flac);
     }},
    {[](const Head& h, int, int64_t) { return h.OggStreamOf("\x01vorbis"); },
     [](int fd, int64_t, const QString& path) { return OpenVorbisSource(fd, path); }},
    {[](const Head& h, int, int64_t) { return h.OggStreamOf("OpusHead"); },
     [](int fd, int64_t, const QString& path) {
         return OpenSndfileSource(fd, path, SndfileKind::Opus);
     }},
    {[](const Head&, int fd, int64_t size) { return HasMpegFrameRun(fd, size); }, OpenMpegSource},
};

} // namespace

std::unique_ptr<Source> OpenFileSource(const QString& path)
{
    const RegularFile file = OpenRegularFile(path);
    Head head;
    const ssize_t got = ::pread(file.fd, head.bytes.data(), head.bytes.size(), 0);
    head.size = got > 0 ? size_t(got) : 0;
    for (const Decoder& decoder : Decoders) {
        if (decoder.probe(head, file.fd, file.size))
            return decoder.open(file.fd, file.size, path);
    }
    ::close(file.fd);
    throw ComponentError("not a sound file the player knows: " + path.toStdString());
}

} // namespace quillet::audio
