#pragma once
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <QStringView>
#include <array>

// Widths of texts in one font for the entry boxes, which measure many
// short texts and the beginnings of texts they cut on every drawing: the
// sum of the advances of the characters, each character measured once and
// kept. Shaping a text for each measure would cost more than the whole
// layout; kerning and ligatures only ever make the drawn text a little
// narrower than measured, so a text that was found to fit, fits.
class CTextMeasure
{
public:
    explicit CTextMeasure(const QFont &font);

    // Pixels, rounded up.
    int Width(QStringView text) const;
    // The height of a line of text.
    int Height() const;

private:
    qreal Advance(char32_t code, QStringView text) const;

    QFontMetricsF m_metrics;
    // Latin letters, digits and signs in a table, others in a hash;
    // negative while not measured.
    mutable std::array<qreal, 0x250> m_latin;
    mutable QHash<char32_t, qreal> m_others;
};
