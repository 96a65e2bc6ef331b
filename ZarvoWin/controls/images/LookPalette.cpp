#include "LookPalette.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

QPalette LookPalette::ForLook(int look)
{
    // Each look is Fusion with a palette of its own: a window colour, a
    // highlight, and light or dark text to go with them.
    struct Colours
    {
        QRgb window, base, highlight, text;
    };
    Colours c;
    switch (look) {
    case 210: c = {0xD4D0C8, 0xFFFFFF, 0x0A246A, 0x000000}; break; // classic grey
    case 211: c = {0xF0EEE8, 0xFFFFFF, 0x316AC5, 0x000000}; break;
    case 212: c = {0xECE9D8, 0xFFFFFF, 0x316AC5, 0x000000}; break;
    case 213: c = {0xC3DAF9, 0xFFFFFF, 0xFFC87E, 0x000000}; break;
    case 214: c = {0xEEEDE5, 0xFFFFFF, 0x3399FF, 0x000000}; break;
    case 215: c = {0xC4D8F2, 0xFFFFFF, 0xFFD66B, 0x000000}; break; // blue
    case 216: c = {0x353535, 0x2A2A2A, 0x4A90D9, 0xF0F0F0}; break; // black
    case 217: c = {0xDDE0E6, 0xFFFFFF, 0x8FA4C2, 0x000000}; break; // silver
    case 218: c = {0xCCE8EE, 0xFFFFFF, 0x3AA6B9, 0x000000}; break; // aqua
    default: c = {0xC4D8F2, 0xFFFFFF, 0xFFD66B, 0x000000}; break;
    }
    // The bevels and shadows (light, mid, dark) derive from the window colour.
    QPalette palette(QColor::fromRgb(c.window), QColor::fromRgb(c.window));
    palette.setColor(QPalette::Base, QColor::fromRgb(c.base));
    palette.setColor(QPalette::AlternateBase, QColor::fromRgb(c.window).lighter(105));
    palette.setColor(QPalette::Text, QColor::fromRgb(c.text));
    palette.setColor(QPalette::WindowText, QColor::fromRgb(c.text));
    palette.setColor(QPalette::ButtonText, QColor::fromRgb(c.text));
    palette.setColor(QPalette::Button, QColor::fromRgb(c.window));
    palette.setColor(QPalette::Highlight, QColor::fromRgb(c.highlight));
    palette.setColor(QPalette::HighlightedText, qGray(c.highlight) > 150 ? Qt::black : Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    // Disabled texts halfway between the text and the window colour.
    const QColor text = QColor::fromRgb(c.text);
    const QColor window = QColor::fromRgb(c.window);
    const QColor grey((text.red() + window.red()) / 2, (text.green() + window.green()) / 2,
                      (text.blue() + window.blue()) / 2);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, grey);
    return palette;
}

void LookPalette::Apply(int look)
{
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QApplication::setPalette(ForLook(look));
}
