// The skinned window's fonts and colours, chosen to sit on the default skin: the design's
// Arial is Liberation Sans (same metrics), its Small Fonts a small Liberation Sans. UI thread.
// Font sizes in pixels, so the fixed layout holds whatever the screen's dots per inch.
#pragma once

#include <QFont>
#include <QPalette>

namespace quillet::SkinLook {

[[nodiscard]] QFont TextFont();   // text boxes and the playlist
[[nodiscard]] QFont TimeFont();   // the elapsed time
[[nodiscard]] QFont CountFont();  // "Total:" and "Pos:", narrow so that 32767 fits their boxes
[[nodiscard]] QFont SmallFont();  // captions, labels and the plain look of buttons
[[nodiscard]] QFont DialogFont(); // menus, popups and dialogs
// Window text for captions and the scale; Text for the display wells; Base the wells'
// black; Highlight the playlist's selection.
[[nodiscard]] QPalette Palette(const QPalette& from);

} // namespace quillet::SkinLook
