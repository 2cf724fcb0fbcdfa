// Text that keeps its bytes: file names and settings values are bytes, usually UTF-8 but not
// always (older collections name files in Latin-1). Valid UTF-8 reads as its text; each byte
// that is not part of valid UTF-8 reads as one lone surrogate U+DC80…U+DCFF, which no valid
// text holds, and goes back out as that very byte. So bytes → text → bytes gives back the
// same bytes, always. Any thread; pure functions.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QUrl>

namespace quillet {

[[nodiscard]] QString TextFromBytes(QByteArrayView bytes);
[[nodiscard]] QByteArray BytesFromText(const QString& text);

// The local path a file: URL names, its bytes kept (QUrl::toLocalFile reads the
// percent-encoded bytes as UTF-8 and so spoils a name that is not). Empty for other URLs.
[[nodiscard]] QString PathFromFileUrl(const QUrl& url);

// The text as a person should see it: each kept byte shown as the Windows-1252 letter it most
// likely was ("latin1-\xe9.mp3" shows as "latin1-é.mp3").
[[nodiscard]] QString ShownText(const QString& text);

// The letter of one Windows-1252 byte. It differs from Latin-1 only in 0x80…0x9F; the five
// bytes it leaves undefined keep their Latin-1 (control character) meaning, as the system
// converter does.
[[nodiscard]] QChar Windows1252Letter(unsigned char byte);

} // namespace quillet
