// Helpers for playlist tests: filling a playlist quickly and reading it back as pairs.
#pragma once

#include "playlist/playlist.h"
#include "tests/tags/tagfiles.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace quillet::test {

// Appends each source with the name "<source> name", selecting each as a filler does, and
// writes the total.
inline void Fill(Playlist& list, const QStringList& sources)
{
    Playlist::Batch batch(list);
    for (const QString& source : sources)
        EXPECT_TRUE(list.Append(source, source + " name", true));
    list.ShowTotal();
}

// Every entry's name still belongs with its source (names made by Fill).
inline void ExpectPairsTogether(const Playlist& list)
{
    ASSERT_EQ(list.Sources().size(), list.Names().size());
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ(list.Names()[i], list.Sources()[i] + " name") << i;
}

} // namespace quillet::test
