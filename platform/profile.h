// Reading and writing single keys of an initialisation file ("[section]" lines followed by
// "key=value" lines), the way the settings file has always been kept. UI thread (any thread
// works: every call opens, reads or rewrites and closes the file itself). Sizes are in
// characters.
#pragma once

#include <QString>

namespace quillet {

// Rules of the format, shared by reader and writer:
// - section and key names match in any letter case; blanks and tabs around names, around
//   "=" and at the ends of values are not part of them; a value wrapped in one pair of
//   matching quotes (" or ') reads without them;
// - when a section or a key occurs more than once, the first occurrence is the one read
//   and the one rewritten; later ones are left alone;
// - LF and CRLF files are both read; lines a write does not change (comments, blank lines,
//   unknown sections and keys, text that is not UTF-8) are kept byte for byte, and new
//   lines take the line end the file already uses.

// The value of key in section, or defaultValue when the file, the section or the key is
// missing. Like a caller-supplied buffer of bufferSize characters, the result holds at
// most bufferSize - 1 characters (a longer value comes back cut); bufferSize < 1 gives "".
[[nodiscard]] QString ReadProfileString(const QString& section, const QString& key,
                                        const QString& defaultValue, int bufferSize,
                                        const QString& path);

// Sets key in section to value, adding the section (at the end of the file) and the key
// (after the section's last entry) when missing, and creating the file when it does not
// exist. The file is replaced atomically (a temporary file in the same folder, renamed over
// it), so it is either the old or the new file, never half of one, and no temporary is
// left behind on failure. Returns false, leaving the file as it was, when the file cannot
// be read or written (no permission, read-only file, missing folder) or when a name or the
// value would break the format (a line break in any of them, "=" in the key, "]" in the
// section, an empty section or key). Writing the value the key already has changes nothing.
[[nodiscard]] bool WriteProfileString(const QString& section, const QString& key,
                                      const QString& value, const QString& path);

} // namespace quillet
