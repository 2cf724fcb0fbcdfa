// The skin controls without a skin: ordinary Qt widgets that render their control state
// (controls/) and report the user's input back into it. Used by the plain main window until
// skins are drawn; a skin file given to PlainSkinForm is remembered but never painted.
// UI thread only. Sizes in pixels.
#pragma once

#include "ui/skin.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <utility>

namespace quillet {

class PlainSkinForm : public SkinForm {
public:
    void SetSkinFile(const QString& path) override { m_file = path; }
    [[nodiscard]] QString SkinFile() const override { return m_file; }
    [[nodiscard]] bool SkinLoaded() const override { return false; }

private:
    QString m_file;
};

// What every plain control shares: its skin element, the form it is attached to (kept, not
// painted from) and its state object.
template <typename Widget, typename Interface, typename State>
class PlainSkinned : public Widget, public Interface {
public:
    void AttachSkin(SkinForm& form) override { m_form = &form; }
    [[nodiscard]] QString SkinElement() const override { return m_element; }
    void SetSize(int width, int height) override { this->setFixedSize(width, height); }
    [[nodiscard]] State& Control() override { return m_control; }
    [[nodiscard]] SkinForm* AttachedForm() const { return m_form; }

protected:
    template <typename... StateArgs>
    PlainSkinned(const QString& objectName, const QString& element, QWidget* parent,
                 StateArgs&&... stateArgs)
        : Widget(parent), m_element(element), m_control(std::forward<StateArgs>(stateArgs)...)
    {
        this->setObjectName(objectName);
    }

    QString m_element;
    State m_control;
    SkinForm* m_form = nullptr;
};

class PlainSkinButton : public PlainSkinned<QPushButton, SkinButton, ButtonControl> {
public:
    // objectName: the control's name ("SkinButtonAdd"); element: its skin element.
    PlainSkinButton(const QString& objectName, const QString& element, const QString& caption,
                    bool twoState = false, QWidget* parent = nullptr);
};

class PlainSkinScrollBar : public PlainSkinned<QScrollBar, SkinScrollBar, ScrollBarControl> {
public:
    PlainSkinScrollBar(const QString& objectName, const QString& element, int minimum, int maximum,
                       int value, QWidget* parent = nullptr);
};

class PlainSkinLabel : public PlainSkinned<QLabel, SkinLabel, TextControl> {
public:
    PlainSkinLabel(const QString& objectName, const QString& element, const QString& text,
                   QWidget* parent = nullptr);
};

} // namespace quillet
