#include "ui/plainskin.h"

#include <QAction>

namespace quillet {

PlainSkinButton::PlainSkinButton(const QString& objectName, const QString& element,
                                 const QString& caption, bool twoState, QWidget* parent)
    : PlainSkinned(objectName, element, parent, std::in_place, twoState)
{
    setText(caption);
    Bind();
}

PlainSkinButton::PlainSkinButton(const QString& objectName, const QString& element,
                                 const QString& caption, ButtonControl& control, QWidget* parent)
    : PlainSkinned(objectName, element, parent, control)
{
    setText(caption);
    Bind();
}

void PlainSkinButton::Bind()
{
    ButtonControl& control = Control();
    setCheckable(control.TwoState());
    // The latched state reads at a glance, not only by a shade of grey.
    connect(this, &QPushButton::toggled, this, [this](bool on) {
        QFont latched = font();
        latched.setBold(on);
        setFont(latched);
    });
    setChecked(control.Pushed());
    setFocusPolicy(Qt::TabFocus); // reachable by keyboard; a click leaves the focus where it was
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
    if (!control.Visible())
        setVisible(false);
    // The widget reports presses; the control decides (latch, hidden) and notifies.
    connect(this, &QPushButton::clicked, this, [this, &control] {
        control.Click();
        setChecked(control.Pushed());
    });
    connect(&control, &ButtonControl::pushedChanged, this, &QPushButton::setChecked);
    connect(&control, &ButtonControl::visibleChanged, this, &QWidget::setVisible);
}

PlainSkinScrollBar::PlainSkinScrollBar(const QString& objectName, const QString& element,
                                       int minimum, int maximum, int value, QWidget* parent)
    : PlainSkinned(objectName, element, parent, std::in_place, minimum, maximum, value)
{
    Bind();
}

PlainSkinScrollBar::PlainSkinScrollBar(const QString& objectName, const QString& element,
                                       ScrollBarControl& control, QWidget* parent)
    : PlainSkinned(objectName, element, parent, control)
{
    Bind();
}

void PlainSkinScrollBar::Bind()
{
    ScrollBarControl& control = Control();
    setOrientation(Qt::Horizontal);
    // A value bar, not a view's scroll bar: Right, Up and the wheel away from the user raise it.
    setInvertedControls(false);
    setFocusPolicy(Qt::TabFocus);
    setRange(control.Minimum(), control.Maximum());
    setValue(control.Value());
    // Same range both sides, so the echo of a put is a put of the value already held.
    connect(this, &QScrollBar::valueChanged, &control, &ScrollBarControl::SetValue);
    connect(&control, &ScrollBarControl::changed, this, &QScrollBar::setValue);
}

PlainSkinLabel::PlainSkinLabel(const QString& objectName, const QString& element,
                               const QString& text, QWidget* parent)
    : PlainSkinned(objectName, element, parent, std::in_place, text)
{
    BindText(*this, Control());
}

PlainSlider::PlainSlider(const QString& objectName, SliderControl& control,
                         Qt::Orientation orientation, QWidget* parent)
    : QSlider(orientation, parent), m_control(control)
{
    setObjectName(objectName);
    Show([this] {
        setRange(m_control.Minimum(), m_control.Maximum());
        setValue(m_control.Position());
    });
    setEnabled(m_control.Enabled());
    connect(&m_control, &SliderControl::maximumChanged, this,
            [this](int maximum) { Show([&] { setMaximum(maximum); }); });
    connect(&m_control, &SliderControl::positionChanged, this,
            [this](int position) { Show([&] { setValue(position); }); });
    connect(&m_control, &SliderControl::enabledChanged, this, &QWidget::setEnabled);

    connect(this, &QSlider::sliderPressed, &m_control, &SliderControl::BeginTrack);
    connect(this, &QSlider::valueChanged, this, &PlainSlider::UserMoved);
    // Also raised when the slider is disabled under a held thumb, so a drag always ends.
    connect(this, &QSlider::sliderReleased, &m_control, &SliderControl::EndTrack);
}

// A routine's put (or a range change that moves the thumb) is shown, not reported back.
void PlainSlider::Show(const std::function<void()>& render)
{
    m_rendering = true;
    render();
    m_rendering = false;
}

void PlainSlider::UserMoved(int position)
{
    if (m_rendering)
        return;
    if (isSliderDown()) {
        m_control.SetPosition(position);
        return;
    }
    m_control.BeginTrack();
    m_control.SetPosition(position);
    m_control.EndTrack();
}

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
