// The program directory: the folder of the running binary, where the settings file, the
// skin, the playlist folder and the help page live. Any thread (after QCoreApplication
// exists).
#pragma once

#include <QString>

namespace quillet {

// The binary's folder as an absolute path that always ends in exactly one "/" (the root
// "/" gets none added). Computed afresh at each call.
[[nodiscard]] QString ProgramDirectory();

// The rule behind it, for any folder text: one "/" appended unless it already ends in "/".
[[nodiscard]] QString WithTrailingSlash(const QString& folder);

} // namespace quillet
