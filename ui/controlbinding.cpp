#include "ui/controlbinding.h"

#include <QAction>
#include <QLabel>

namespace quillet {

void BindCheckItem(QAction& item, MenuItemControl& control, std::function<void()> routine)
{
    item.setCheckable(true);
    item.setChecked(control.Checked());
    QObject::connect(&control, &MenuItemControl::checkedChanged, &item, &QAction::setChecked);
    // The menu flips the mark before triggered(); put the control's back, the routine decides.
    QObject::connect(&item, &QAction::triggered, &item,
                     [&item, &control, routine = std::move(routine)] {
                         item.setChecked(control.Checked());
                         routine();
                     });
}

void BindText(QLabel& label, TextControl& control)
{
    label.setText(control.Text());
    QObject::connect(&control, &TextControl::textChanged, &label, &QLabel::setText);
}

} // namespace quillet
