// The window's controls without a skin: ordinary Qt widgets that render a control state object
// (controls/) and report the user's input back into it. A control either owns its state or is
// bound to one that a routine owns (the widget then only shows it and reports input); a skin
// file given to PlainSkinForm is remembered but never painted. UI thread only. Sizes in pixels.
#pragma once

#include "ui/skin.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include <functional>
#include <memory>
#include <utility>

class QAction;

namespace quillet {

class PlainSkinForm : public SkinForm {
public:
    void SetSkinFile(const QString& path) override { m_file = path; }
    [[nodiscard]] QString SkinFile() const override { return m_file; }
    [[nodiscard]] bool SkinLoaded() const override { return false; }

private:
    QString m_file;
};

// What every plain skinned control shares: its skin element, the form it is attached to
// (kept, not painted from) and its state object, its own or a routine's.
template <typename Widget, typename Interface, typename State>
class PlainSkinned : public Widget, public Interface {
public:
    void AttachSkin(SkinForm& form) override { m_form = &form; }
    [[nodiscard]] QString SkinElement() const override { return m_element; }
    void SetSize(int width, int height) override { this->setFixedSize(width, height); }
    [[nodiscard]] State& Control() override { return *m_control; }
    [[nodiscard]] SkinForm* AttachedForm() const { return m_form; }

protected:
    // Owns a state object made from stateArgs.
    template <typename... StateArgs>
    PlainSkinned(const QString& objectName, const QString& element, QWidget* parent,
                 std::in_place_t, StateArgs&&... stateArgs)
        : PlainSkinned(objectName, element, parent,
                       std::make_unique<State>(std::forward<StateArgs>(stateArgs)...))
    {
    }
    // Bound to a state object that outlives the widget.
    PlainSkinned(const QString& objectName, const QString& element, QWidget* parent, State& control)
        : Widget(parent), m_element(element), m_control(&control)
    {
        this->setObjectName(objectName);
    }

    QString m_element;

private:
    PlainSkinned(const QString& objectName, const QString& element, QWidget* parent,
                 std::unique_ptr<State> own)
        : PlainSkinned(objectName, element, parent, *own)
    {
        m_own = std::move(own);
    }

    std::unique_ptr<State> m_own;
    State* m_control;
    SkinForm* m_form = nullptr;
};

// A hidden button keeps its place, so the buttons beside it never jump.
class PlainSkinButton : public PlainSkinned<QPushButton, SkinButton, ButtonControl> {
public:
    // objectName: the control's name ("SkinButtonAdd"); element: its skin element.
    PlainSkinButton(const QString& objectName, const QString& element, const QString& caption,
                    bool twoState = false, QWidget* parent = nullptr);
    // Shows control (its latch, two-state kind and visibility) and reports presses to it.
    PlainSkinButton(const QString& objectName, const QString& element, const QString& caption,
                    ButtonControl& control, QWidget* parent = nullptr);

private:
    void Bind();
};

class PlainSkinScrollBar : public PlainSkinned<QScrollBar, SkinScrollBar, ScrollBarControl> {
public:
    PlainSkinScrollBar(const QString& objectName, const QString& element, int minimum, int maximum,
                       int value, QWidget* parent = nullptr);
    // Shows control's range and value; the user's moves are put into it.
    PlainSkinScrollBar(const QString& objectName, const QString& element, ScrollBarControl& control,
                       QWidget* parent = nullptr);

private:
    void Bind();
};

class PlainSkinLabel : public PlainSkinned<QLabel, SkinLabel, TextControl> {
public:
    PlainSkinLabel(const QString& objectName, const QString& element, const QString& text,
                   QWidget* parent = nullptr);
};

// A slider bound to a routine's slider state: it shows the range, position and enabled state,
// and reports the user's grab (BeginTrack), moves (SetPosition) and release (EndTrack). A
// change by key or wheel is a grab, a move and a release at once. Positions put by a routine
// are only shown, never reported back. Positions in the control's units.
class PlainSlider : public QSlider {
public:
    PlainSlider(const QString& objectName, SliderControl& control, Qt::Orientation orientation,
                QWidget* parent = nullptr);

private:
    void Show(const std::function<void()>& render);
    void UserMoved(int position);

    SliderControl& m_control;
    bool m_rendering = false;
};

// A menu item's check mark shown from its control; choosing the item runs routine, which
// alone decides the new mark.
void BindCheckItem(QAction& item, MenuItemControl& control, std::function<void()> routine);
// A label showing a text control.
void BindText(QLabel& label, TextControl& control);

} // namespace quillet
