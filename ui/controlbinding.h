// Qt widgets and actions shown from a control state object (controls/): a menu item's check
// mark and a label's text follow their control; choosing the item runs its routine, which
// alone decides the new mark. UI thread only.
#pragma once

#include "controls/controls.h"

#include <functional>

class QAction;
class QLabel;

namespace quillet {

void BindCheckItem(QAction& item, MenuItemControl& control, std::function<void()> routine);
void BindText(QLabel& label, TextControl& control);

} // namespace quillet
