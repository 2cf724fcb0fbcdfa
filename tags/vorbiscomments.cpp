#include "tags/vorbiscomments.h"

#include "tags/paths.h"

#include <QByteArray>

#include <array>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace quillet {

namespace {

constexpr uint32_t LongestRead = 64 * 1024; // bytes of one comment that are looked at
constexpr int MostFlacBlocks = 1024;
constexpr uint32_t MostComments = 100000;
constexpr int MostOggPages = 4096; // a comment packet may carry pictures of several MB

bool ReadAt(int fd, qint64 offset, char* to, size_t bytes)
{
    while (bytes > 0) {
        const ssize_t got = ::pread(fd, to, bytes, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        to += got;
        bytes -= size_t(got);
        offset += got;
    }
    return true;
}

uint32_t LittleEndian32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

// The bytes of one comment list, which in an Ogg stream lie in pieces between page headers:
// read and skipped in order, as if they were one run.
class PieceReader {
public:
    explicit PieceReader(int fd) : m_fd(fd) {}
    void Add(qint64 offset, qint64 bytes)
    {
        if (bytes > 0)
            m_pieces.push_back({offset, bytes});
    }
    bool Read(char* to, qint64 bytes)
    {
        while (bytes > 0) {
            if (m_piece >= m_pieces.size())
                return false;
            const Piece& piece = m_pieces[m_piece];
            const qint64 n = std::min(bytes, piece.bytes - m_at);
            if (to != nullptr) {
                if (!ReadAt(m_fd, piece.offset + m_at, to, size_t(n)))
                    return false;
                to += n;
            }
            bytes -= n;
            m_at += n;
            if (m_at == piece.bytes) {
                ++m_piece;
                m_at = 0;
            }
        }
        return true;
    }
    bool Skip(qint64 bytes) { return Read(nullptr, bytes); }
    bool Read32(uint32_t& value)
    {
        char b[4];
        if (!Read(b, 4))
            return false;
        value = LittleEndian32(b);
        return true;
    }

private:
    struct Piece {
        qint64 offset;
        qint64 bytes;
    };
    int m_fd;
    std::vector<Piece> m_pieces;
    size_t m_piece = 0;
    qint64 m_at = 0; // within m_pieces[m_piece]
};

// FLAC: metadata blocks follow "fLaC", each with a 4-byte header (last-block flag, type,
// 24-bit length); type 4 is the comment block.
void FindFlacComments(int fd, qint64 size, PieceReader& reader)
{
    qint64 at = 4;
    for (int n = 0; n < MostFlacBlocks && at + 4 <= size; ++n) {
        char header[4];
        if (!ReadAt(fd, at, header, 4))
            return;
        const qint64 length =
            qint64(uint8_t(header[1])) << 16 | uint8_t(header[2]) << 8 | uint8_t(header[3]);
        if ((header[0] & 0x7F) == 4) {
            reader.Add(at + 4, std::min(length, size - at - 4));
            return;
        }
        if ((header[0] & 0x80) != 0)
            return;
        at += 4 + length;
    }
}

// Ogg: the pages of the first stream carry its packets in segments of up to 255 bytes (one
// shorter than 255 ends a packet); the comments are the second packet.
void FindOggComments(int fd, qint64 size, PieceReader& reader)
{
    qint64 at = 0;
    uint32_t serial = 0;
    int packet = 0;
    for (int page = 0; page < MostOggPages && at + 27 <= size; ++page) {
        char header[27];
        std::array<uint8_t, 255> lacing{};
        if (!ReadAt(fd, at, header, 27) || std::memcmp(header, "OggS", 4) != 0)
            return;
        const int segments = uint8_t(header[26]);
        if (!ReadAt(fd, at + 27, reinterpret_cast<char*>(lacing.data()), size_t(segments)))
            return;
        if (page == 0)
            serial = LittleEndian32(header + 14);
        qint64 body = at + 27 + segments;
        const bool ours = LittleEndian32(header + 14) == serial;
        for (int i = 0; i < segments; ++i) {
            if (ours && packet == 1)
                reader.Add(body, lacing[size_t(i)]);
            body += lacing[size_t(i)];
            if (ours && lacing[size_t(i)] < 255 && ++packet > 1)
                return;
        }
        at = body;
    }
}

QString CleanText(QByteArrayView bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    return QString::fromUtf8(nul >= 0 ? bytes.first(nul) : bytes);
}

// The comment list: vendor text, count, then each comment as length and "KEY=value" (the key
// in any case). The first of each key counts; DESCRIPTION stands in for a missing COMMENT.
void ParseComments(PieceReader& reader, const char* magic, size_t magicSize, TextTags& tags)
{
    QByteArray head(qsizetype(magicSize), '\0');
    uint32_t vendor = 0, count = 0;
    if (!reader.Read(head.data(), qint64(magicSize)) ||
        QByteArrayView(head) != QByteArrayView(magic, qsizetype(magicSize)) ||
        !reader.Read32(vendor) || !reader.Skip(vendor) || !reader.Read32(count))
        return;
    QString description;
    const std::pair<const char*, QString*> fields[] = {
        {"TITLE", &tags.Title},       {"ARTIST", &tags.Artist},   {"ALBUM", &tags.Album},
        {"DATE", &tags.Year},         {"COMMENT", &tags.Comment}, {"GENRE", &tags.Genre},
        {"DESCRIPTION", &description}};
    QByteArray entry;
    for (uint32_t i = 0; i < std::min<uint32_t>(count, MostComments); ++i) {
        uint32_t length = 0;
        if (!reader.Read32(length))
            break;
        if (length > LongestRead) {
            if (!reader.Skip(length))
                break;
            continue;
        }
        entry.resize(qsizetype(length));
        if (!reader.Read(entry.data(), length))
            break;
        const qsizetype equals = entry.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArrayView key = QByteArrayView(entry).first(equals);
        for (const auto& [name, text] : fields) {
            if (text->isEmpty() && key.compare(QByteArrayView(name), Qt::CaseInsensitive) == 0)
                *text = CleanText(QByteArrayView(entry).sliced(equals + 1));
        }
    }
    if (tags.Comment.isEmpty())
        tags.Comment = description;
}

} // namespace

bool IsVorbisCommentPath(const QString& path)
{
    return path.endsWith(QLatin1StringView(".flac"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1StringView(".ogg"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1StringView(".oga"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1StringView(".opus"), Qt::CaseInsensitive);
}

TextTagsRead ReadVorbisComments(const QString& path)
{
    TextTagsRead result;
    qint64 size = 0;
    const int fd = OpenTagFile(path, size);
    if (fd < 0)
        return result;
    result.Status = TagStatus::NoTag;
    std::array<char, 27 + 255 + 8> head{};
    const bool headRead = ReadAt(fd, 0, head.data(), std::min<size_t>(head.size(), size_t(size)));
    PieceReader reader(fd);
    const auto oggStreamOf = [&](const char* magic) {
        const size_t at = 27 + uint8_t(head[26]);
        return std::memcmp(head.data(), "OggS", 4) == 0 &&
               at + std::strlen(magic) <= size_t(size) &&
               std::memcmp(head.data() + at, magic, std::strlen(magic)) == 0;
    };
    if (headRead && std::memcmp(head.data(), "fLaC", 4) == 0) {
        result.Status = TagStatus::Found;
        FindFlacComments(fd, size, reader);
        ParseComments(reader, "", 0, result.Tags);
    } else if (headRead && (oggStreamOf("\x01vorbis") || oggStreamOf("OpusHead"))) {
        result.Status = TagStatus::Found;
        FindOggComments(fd, size, reader);
        const bool opus = oggStreamOf("OpusHead");
        ParseComments(reader, opus ? "OpusTags" : "\x03vorbis", opus ? 8 : 7, result.Tags);
    }
    ::close(fd);
    return result;
}

} // namespace quillet
