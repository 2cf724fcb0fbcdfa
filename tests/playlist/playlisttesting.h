// Helpers for playlist tests: filling a playlist quickly and checking its texts.
#pragma once

#include "playlist/playlist.h"
#include "tests/tags/tagfiles.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace quillet::test {

// Appends each source named "<source> name", selecting each as a filler does, then writes
// the total.
inline void Fill(Playlist& list, const QStringList& sources)
{
    Playlist::Batch batch(list);
    for (const QString& source : sources)
        EXPECT_TRUE(list.Append(source, source + " name", true));
    list.ShowTotal();
}

inline void ExpectTexts(const Playlist& list, const QString& total, const QString& position)
{
    EXPECT_EQ(list.TextTotalFiles(), total);
    EXPECT_EQ(list.TextPosition(), position);
}

} // namespace quillet::test
