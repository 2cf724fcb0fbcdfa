#include "platform/bytetext.h"

namespace quillet {
namespace {

constexpr char16_t KeptByteBase = 0xDC00; // a kept byte b (0x80…0xFF) is U+DC00 + b

// A lone low surrogate in the kept range; the second half of a pair is a letter's.
bool IsKeptByte(QStringView text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    return c >= KeptByteBase + 0x80 && c <= KeptByteBase + 0xFF &&
           (i == 0 || !text[i - 1].isHighSurrogate());
}

bool HasKeptByte(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (IsKeptByte(text, i))
            return true;
    return false;
}

// The length of the valid UTF-8 sequence at p (at most end), 0 when there is none.
int ValidSequenceLength(const unsigned char* p, const unsigned char* end)
{
    const unsigned char lead = *p;
    int length = 0;
    char32_t min = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, min = 0x80, code = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, min = 0x800, code = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, min = 0x10000, code = lead & 0x07;
    else
        return 0;
    if (end - p < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[i] & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < min || code > 0x10FFFF || surrogate ? 0 : length;
}

constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QString TextFromBytes(QByteArrayView bytes)
{
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            text += QChar(*p++);
            continue;
        }
        const int length = ValidSequenceLength(p, end);
        if (length == 0) {
            text += QChar(char16_t(KeptByteBase + *p++));
            continue;
        }
        text += QString::fromUtf8(reinterpret_cast<const char*>(p), length);
        p += length;
    }
    return text;
}

QByteArray BytesFromText(const QString& text)
{
    if (!HasKeptByte(text))
        return text.toUtf8();
    QByteArray bytes;
    bytes.reserve(text.size() * 3);
    qsizetype runStart = 0; // the text since the last kept byte goes out as UTF-8
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !IsKeptByte(text, i))
            continue;
        bytes += QStringView(text).sliced(runStart, i - runStart).toUtf8();
        if (i < text.size())
            bytes += char(text[i].unicode() - KeptByteBase);
        runStart = i + 1;
    }
    return bytes;
}

QString PathFromFileUrl(const QUrl& url)
{
    if (!url.isLocalFile())
        return {};
    return TextFromBytes(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

QString ShownText(const QString& text)
{
    if (!HasKeptByte(text))
        return text;
    QString shown = text;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (!IsKeptByte(text, i))
            continue;
        shown[i] = Windows1252Letter(static_cast<unsigned char>(text[i].unicode() - KeptByteBase));
    }
    return shown;
}

QChar Windows1252Letter(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? QChar(Cp1252High[byte - 0x80]) : QChar(byte);
}

} // namespace quillet
