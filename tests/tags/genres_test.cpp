#include "tags/genres.h"
#include "tests/tags/tagfiles.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(Genres, TableHasEveryNameAtItsByte)
{
    FillGenreTable();
    const QStringList& names = GenreNames();
    ASSERT_EQ(names.size(), 148);
    // The first name of every ten: a missing or doubled name shifts one of these.
    const QStringList decades = {
        "Blues",    "New Age", "Alternative", "Fusion", "Alt. Rock",
        "Darkwave", "Top 40",  "Trailer",     "Folk",   "Avantegarde",
        "Humour",   "Satire",  "Duet",        "Terror", "Comteporary Christian"};
    for (int d = 0; d < decades.size(); ++d)
        EXPECT_EQ(names[d * 10], decades[d]) << d * 10;
    EXPECT_EQ(names[13], "Pop");
    EXPECT_EQ(names[62], "Pop/Punk");
    EXPECT_EQ(names[67], "Phychedelic");
    EXPECT_EQ(names[117], "power Ballad");
    EXPECT_EQ(names[131], "indie");
    EXPECT_EQ(names[144], "Trash Metal");
    EXPECT_EQ(names[147], "Synth Pop");
}

TEST(Genres, BytesBeyondTheTableHaveNoName)
{
    EXPECT_EQ(GenreName(147), "Synth Pop");
    EXPECT_EQ(GenreName(0), "Blues");
    for (int g : {148, 200, 255, -1})
        EXPECT_TRUE(GenreName(g).isEmpty()) << g;
}

} // namespace
} // namespace quillet
