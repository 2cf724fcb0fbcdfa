// The genre table: the name shown for each ID3v1 genre byte (0…147, the program's own
// spellings). UI thread; the table itself is immutable once filled and safe to read anywhere.
#pragma once

#include <QString>
#include <QStringList>

namespace quillet {

inline constexpr int GenreCount = 148;

// The 148 names, indexed by the genre byte.
[[nodiscard]] const QStringList& GenreNames();

// The name of genre byte g: GenreNames()[g] for g ≤ 147, "" otherwise (255 means "none").
[[nodiscard]] QString GenreName(int g);

// The start-up step that fills the genre table; cheap, and harmless to call again.
void FillGenreTable();

} // namespace quillet
