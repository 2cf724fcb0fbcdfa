// Observable control state: what the routines read and write and the widgets render
// (a button's latch and visibility, a scroll bar's value, a slider's range, a menu check
// mark, a text box's text). UI thread only. Notifications are raised synchronously, inside
// the put that causes them, and only when the value really changes. Numbers are whole
// control units (scroll-bar and slider steps).
#pragma once

#include <QObject>
#include <QString>

namespace quillet {

// A skin button: the latched state of a two-state button and whether it is shown.
// A hidden button is neither drawn nor pressed; Click() then does nothing.
class ButtonControl : public QObject {
    Q_OBJECT
public:
    explicit ButtonControl(bool twoState = false, QObject* parent = nullptr);

    [[nodiscard]] bool TwoState() const { return m_twoState; }
    [[nodiscard]] bool Pushed() const { return m_pushed; }
    void SetPushed(bool pushed);
    [[nodiscard]] bool Visible() const { return m_visible; }
    void SetVisible(bool visible);

    // The user pressed the button: a two-state button toggles its latch first, so clicked()
    // already sees the new Pushed().
    void Click();

signals:
    void pushedChanged(bool pushed);
    void visibleChanged(bool visible);
    void clicked();

private:
    bool m_twoState;
    bool m_pushed = false;
    bool m_visible = true;
};

// A scroll bar: Value within Minimum…Maximum. A put that changes the value raises
// changed() before it returns; a put of the current value raises nothing.
class ScrollBarControl : public QObject {
    Q_OBJECT
public:
    ScrollBarControl(int minimum, int maximum, int value, QObject* parent = nullptr);

    [[nodiscard]] int Value() const { return m_value; }
    void SetValue(int value); // clamped into Minimum…Maximum
    [[nodiscard]] int Minimum() const { return m_minimum; }
    [[nodiscard]] int Maximum() const { return m_maximum; }

signals:
    void changed(int value);

private:
    int m_minimum;
    int m_maximum;
    int m_value;
};

// A slider: Position within Minimum…Maximum (a put outside is clamped, so a read-back is
// always a valid position), whether it takes input, and the user's drag of its thumb: the
// widget reports the grab (BeginTrack), the moves (SetPosition) and the release (EndTrack).
class SliderControl : public QObject {
    Q_OBJECT
public:
    explicit SliderControl(int maximum = 10, QObject* parent = nullptr);
    SliderControl(int minimum, int maximum, QObject* parent = nullptr);

    [[nodiscard]] int Position() const { return m_position; }
    void SetPosition(int position);
    [[nodiscard]] int Minimum() const { return m_minimum; }
    [[nodiscard]] int Maximum() const { return m_maximum; }
    void SetMaximum(int maximum); // below Minimum counts as Minimum; the position follows
    [[nodiscard]] bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    [[nodiscard]] bool Tracking() const { return m_tracking; }

    // The user grabs the thumb / lets it go (ignored while disabled or not grabbed).
    void BeginTrack();
    void EndTrack();

signals:
    void positionChanged(int position);
    void maximumChanged(int maximum);
    void enabledChanged(bool enabled);
    void OnTrack();
    void OnTrackEnd();

private:
    int m_minimum = 0;
    int m_maximum;
    int m_position = 0;
    bool m_enabled = true;
    bool m_tracking = false;
};

// A menu item's check mark.
class MenuItemControl : public QObject {
    Q_OBJECT
public:
    explicit MenuItemControl(QObject* parent = nullptr) : QObject(parent) {}

    [[nodiscard]] bool Checked() const { return m_checked; }
    void SetChecked(bool checked);

signals:
    void checkedChanged(bool checked);

private:
    bool m_checked = false;
};

// A one-line text box or label.
class TextControl : public QObject {
    Q_OBJECT
public:
    explicit TextControl(const QString& text = {}, QObject* parent = nullptr)
        : QObject(parent), m_text(text)
    {
    }

    [[nodiscard]] const QString& Text() const { return m_text; }
    void SetText(const QString& text);

signals:
    void textChanged(const QString& text);

private:
    QString m_text;
};

} // namespace quillet
