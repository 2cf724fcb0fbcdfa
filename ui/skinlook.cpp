#include "ui/skinlook.h"

namespace quillet::SkinLook {

namespace {
QFont Sans(int pixels, QFont::Weight weight = QFont::Normal,
           const QString& family = QStringLiteral("Liberation Sans"))
{
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}
} // namespace

QFont TextFont()
{
    return Sans(11);
}

QFont TimeFont()
{
    return Sans(15, QFont::Bold);
}

QFont CountFont()
{
    return Sans(11, QFont::Normal, QStringLiteral("Liberation Sans Narrow"));
}

QFont DialogFont()
{
    return Sans(12);
}

QFont SmallFont()
{
    return Sans(8);
}

QPalette Palette(const QPalette& from)
{
    QPalette palette = from;
    const QColor window(0x1f, 0x24, 0x2a), windowText(0xa9, 0xb4, 0xbd);
    const QColor well(0x06, 0x08, 0x0a), lcd(0x7f, 0xdc, 0xec), accent(0x2b, 0x6e, 0x7d);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, window);
        palette.setColor(group, QPalette::WindowText, windowText);
        palette.setColor(group, QPalette::Base, well);
        palette.setColor(group, QPalette::AlternateBase, well);
        palette.setColor(group, QPalette::Text, lcd);
        palette.setColor(group, QPalette::Highlight, accent);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::Button, window.lighter(130));
        palette.setColor(group, QPalette::ButtonText, windowText);
        // A button held down or latched sinks into a darker face, its caption as legible.
        palette.setColor(group, QPalette::Mid, well.lighter(250));
        palette.setColor(group, QPalette::Dark, well);
        palette.setColor(group, QPalette::Light, window.lighter(180));
        palette.setColor(group, QPalette::Midlight, window.lighter(150));
        palette.setColor(group, QPalette::Shadow, well);
        palette.setColor(group, QPalette::PlaceholderText, windowText.darker(140));
        palette.setColor(group, QPalette::ToolTipBase, well);
        palette.setColor(group, QPalette::ToolTipText, windowText);
        palette.setColor(group, QPalette::Link, lcd);
    }
    // Dimmer, still readable.
    const QColor dim(0x9b, 0xa5, 0xad);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, dim);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, dim);
    palette.setColor(QPalette::Disabled, QPalette::Text, lcd.darker(200));
    palette.setColor(QPalette::Disabled, QPalette::Window, window);
    palette.setColor(QPalette::Disabled, QPalette::Button, window);
    palette.setColor(QPalette::Disabled, QPalette::Base, well);
    palette.setColor(QPalette::Disabled, QPalette::Mid, well.lighter(250));
    palette.setColor(QPalette::Disabled, QPalette::Dark, well);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, window.lighter(130));
    palette.setColor(QPalette::Disabled, QPalette::HighlightedText, dim);
    return palette;
}

} // namespace quillet::SkinLook
