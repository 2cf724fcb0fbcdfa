#include "tags/genres.h"

namespace quillet {

namespace {

// Several names deliberately keep the program's historic spellings (62, 67, 90, 117, 131,
// 140, 144): users' displays have always shown them this way.
const char* const kGenres[GenreCount] = {
    "Blues",
    "Classic Rock",
    "Country",
    "Dance",
    "Disco",
    "Funk",
    "Grunge",
    "Hip-Hop",
    "Jazz",
    "Metal", // 0-9
    "New Age",
    "Oldies",
    "Other",
    "Pop",
    "R&B",
    "Rap",
    "Reggae",
    "Rock",
    "Techno",
    "Industrial", // 10-19
    "Alternative",
    "Ska",
    "Death Metal",
    "Pranks",
    "Soundtrack",
    "Euro-Techno",
    "Ambient",
    "Trip Hop",
    "Vocal",
    "Jazz+Funk", // 20-29
    "Fusion",
    "Trance",
    "Classical",
    "Instrumental",
    "Acid",
    "House",
    "Game",
    "Sound Clip",
    "Gospel",
    "Noise", // 30-39
    "Alt. Rock",
    "Bass",
    "Soul",
    "Punk",
    "Space",
    "Meditative",
    "Instrumental Pop",
    "Instrumental Rock",
    "Ethnic",
    "Gothic", // 40-49
    "Darkwave",
    "Techno-Industrial",
    "Electronic",
    "Pop-Folk",
    "Eurodance",
    "Dream",
    "Southern Rock",
    "Comedy",
    "Cult",
    "Gangsta Rap", // 50-59
    "Top 40",
    "Christian Rap",
    "Pop/Punk",
    "Jungle",
    "Native American",
    "Cabaret",
    "New Wave",
    "Phychedelic",
    "Rave",
    "Showtunes", // 60-69
    "Trailer",
    "Lo-Fi",
    "Tribal",
    "Acid Punk",
    "Acid Jazz",
    "Polka",
    "Retro",
    "Musical",
    "Rock & Roll",
    "Hard Rock", // 70-79
    "Folk",
    "Folk/Rock",
    "National Folk",
    "Swing",
    "Fast-Fusion",
    "Bebob",
    "Latin",
    "Revival",
    "Celtic",
    "Blue Grass", // 80-89
    "Avantegarde",
    "Gothic Rock",
    "Progressive Rock",
    "Psychedelic Rock",
    "Symphonic Rock",
    "Slow Rock",
    "Big Band",
    "Chorus",
    "Easy Listening",
    "Acoustic", // 90-99
    "Humour",
    "Speech",
    "Chanson",
    "Opera",
    "Chamber Music",
    "Sonata",
    "Symphony",
    "Booty Bass",
    "Primus",
    "Porn Groove", // 100-109
    "Satire",
    "Slow Jam",
    "Club",
    "Tango",
    "Samba",
    "Folklore",
    "Ballad",
    "power Ballad",
    "Rhythmic Soul",
    "Freestyle", // 110-119
    "Duet",
    "Punk Rock",
    "Drum Solo",
    "A Capella",
    "Euro-House",
    "Dance Hall",
    "Goa",
    "Drum & Bass",
    "Club-House",
    "Hardcore", // 120-129
    "Terror",
    "indie",
    "Brit Pop",
    "Negerpunk",
    "Polsk Punk",
    "Beat",
    "Christian Gangsta Rap",
    "Heavy Metal",
    "Black Metal",
    "Crossover", // 130-139
    "Comteporary Christian",
    "Christian Rock",
    "Merengue",
    "Salsa",
    "Trash Metal",
    "Anime",
    "JPop",
    "Synth Pop", // 140-147
};

QStringList BuildTable()
{
    QStringList names;
    names.reserve(GenreCount);
    for (const char* name : kGenres)
        names.append(QString::fromLatin1(name));
    return names;
}

} // namespace

const QStringList& GenreNames()
{
    static const QStringList table = BuildTable();
    return table;
}

QString GenreName(int g)
{
    return g >= 0 && g < GenreCount ? GenreNames().at(g) : QString();
}

void FillGenreTable()
{
    (void)GenreNames();
}

} // namespace quillet
