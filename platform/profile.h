// Reading and writing keys of an initialisation file ("[section]" lines followed by
// "key=value" lines), the way the settings file has always been kept: one key at a time on
// the file, or many keys on the file's text in memory written back in one piece. Any thread
// (no shared state). Sizes are in characters unless said otherwise.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace quillet {

// Rules of the format, shared by reader and writer:
// - section and key names match in any letter case; blanks and tabs around names, around
//   "=" and at the ends of values are not part of them; a value wrapped in one pair of
//   matching quotes (" or ') reads without them;
// - when a section or a key occurs more than once, the first occurrence is the one read
//   and the one rewritten; later ones are left alone;
// - LF and CRLF files are both read; lines a write does not change (comments, blank lines,
//   unknown sections and keys, text that is not UTF-8) are kept byte for byte, and new
//   lines take the line end the file already uses (LF for a new file).

// The largest settings or association file read, in bytes: far beyond any real one. A bigger
// file is taken as unreadable (and therefore never rewritten either).
inline constexpr qint64 MaxProfileBytes = 4 * 1024 * 1024;

// The file's bytes, "" when there is no file; nothing when it cannot be read: not a regular
// file (a FIFO or device is never opened), bigger than MaxProfileBytes, no permission.
[[nodiscard]] std::optional<QByteArray> ReadProfileFile(const QString& path);

// A whole file's text held in memory, read and changed key by key (the rules above), then
// written back in one piece. A UTF-8 byte-order mark at the start is not part of the first
// line and stays in front of it. Values are text that keeps its bytes (bytetext.h): a value
// that is not valid UTF-8 reads as a text that writes back as the very same bytes.
class ProfileText {
public:
    explicit ProfileText(const QByteArray& bytes = {});

    // The value of key in section (blanks and one pair of quotes around it removed), or
    // nothing when the section or the key is missing.
    [[nodiscard]] std::optional<QString> Value(const QString& section, const QString& key) const;

    // Sets key in section to value, adding the section (at the end) and the key (after the
    // section's last entry) when missing. A key that already holds value keeps its line byte
    // for byte. False, changing nothing, when a name or the value would break the format (a
    // line break in any of them, "=" in the key, "]" in the section, an empty name).
    [[nodiscard]] bool Set(const QString& section, const QString& key, const QString& value);

    // The file's bytes as they stand.
    [[nodiscard]] QByteArray Bytes() const;

private:
    // One physical line: its text and its line end ("\n", "\r\n" or "" at the very end).
    struct Line {
        QByteArray text;
        QByteArray end;
    };
    struct Location;
    [[nodiscard]] Location Find(const QString& section, const QString& key) const;

    QList<Line> m_lines;
    QByteArray m_lineEnd; // the one the file already uses, for added lines
    bool m_byteOrderMark = false;
};

// The value of key in section, or defaultValue when the file, the section or the key is
// missing or the file cannot be read. Like a caller-supplied buffer of bufferSize characters,
// the result holds at most bufferSize - 1 characters (a longer value comes back cut);
// bufferSize < 1 gives "".
[[nodiscard]] QString ReadProfileString(const QString& section, const QString& key,
                                        const QString& defaultValue, int bufferSize,
                                        const QString& path);

// Sets key in section of the file at path (ProfileText::Set), creating the file when it does
// not exist, and replaces the file through the checked writer (atomicwrite.h). Returns false,
// leaving the file as it was, when the file cannot be read or written (no permission, a
// full disk, missing folder) or Set refuses. Writing the value the key already has changes
// nothing.
[[nodiscard]] bool WriteProfileString(const QString& section, const QString& key,
                                      const QString& value, const QString& path);

} // namespace quillet
