// The skin controls without a skin: ordinary Qt widgets that render their control state
// (controls/) and report the user's input back into it. Used by the plain main window until
// skins are drawn; a skin file given to PlainSkinForm is remembered but never painted.
// UI thread only. Sizes in pixels.
#pragma once

#include "ui/skin.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

namespace quillet {

class PlainSkinForm : public SkinForm {
public:
    void SetSkinFile(const QString& path) override { m_file = path; }
    [[nodiscard]] QString SkinFile() const override { return m_file; }
    [[nodiscard]] bool SkinLoaded() const override { return false; }

private:
    QString m_file;
};

class PlainSkinButton : public QPushButton, public SkinButton {
public:
    // objectName: the control's name ("SkinButtonAdd"); element: its skin element.
    PlainSkinButton(const QString& objectName, const QString& element, const QString& caption,
                    bool twoState = false, QWidget* parent = nullptr);

    void AttachSkin(SkinForm& form) override { m_form = &form; }
    [[nodiscard]] QString SkinElement() const override { return m_element; }
    void SetSize(int width, int height) override { setFixedSize(width, height); }
    [[nodiscard]] ButtonControl& Control() override { return m_control; }
    [[nodiscard]] SkinForm* AttachedForm() const { return m_form; }

private:
    QString m_element;
    ButtonControl m_control;
    SkinForm* m_form = nullptr;
};

class PlainSkinScrollBar : public QScrollBar, public SkinScrollBar {
public:
    PlainSkinScrollBar(const QString& objectName, const QString& element, int minimum, int maximum,
                       int value, QWidget* parent = nullptr);

    void AttachSkin(SkinForm& form) override { m_form = &form; }
    [[nodiscard]] QString SkinElement() const override { return m_element; }
    void SetSize(int width, int height) override { setFixedSize(width, height); }
    [[nodiscard]] ScrollBarControl& Control() override { return m_control; }

private:
    QString m_element;
    ScrollBarControl m_control;
    SkinForm* m_form = nullptr;
};

class PlainSkinLabel : public QLabel, public SkinLabel {
public:
    PlainSkinLabel(const QString& objectName, const QString& element, const QString& text,
                   QWidget* parent = nullptr);

    void AttachSkin(SkinForm& form) override { m_form = &form; }
    [[nodiscard]] QString SkinElement() const override { return m_element; }
    void SetSize(int width, int height) override { setFixedSize(width, height); }
    [[nodiscard]] TextControl& Control() override { return m_control; }

private:
    QString m_element;
    TextControl m_control;
    SkinForm* m_form = nullptr;
};

} // namespace quillet
