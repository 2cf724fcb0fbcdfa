// Small media-like files for tag tests: audio-ish bytes, then optionally an ID3v1 tag.
#pragma once

#include "tests/fixtures/fileio.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/testsupport.h"

#include <QByteArray>
#include <QString>

namespace quillet::test {

inline const QByteArray Untagged(1000, '\x55');

inline void WriteTagged(const QString& path, const QByteArray& artist, const QByteArray& title,
                        uint8_t genre)
{
    fixtures::WriteBytes(path, Untagged);
    fixtures::AppendId3v1(path, title, artist, {}, {}, {}, genre);
}

} // namespace quillet::test
