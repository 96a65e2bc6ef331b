#pragma once
// A user typing into a date or time field of the program, and the table
// of what is typed into every date field under the French format
// (dd/MM/yyyy) with the date it gives, from 04/03/2024.
#include <QDate>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include <vector>

namespace DateFieldTyping {

struct tRow
{
    const char *what;
    // The character of the field's text clicked before typing (the caret
    // lands before it); -1 for Ctrl+A over the whole field instead.
    int click;
    const char *keys;
    QDate stored;
};

// The date every row starts from.
inline QDate Start()
{
    return QDate(2024, 3, 4);
}

inline const std::vector<tRow> &DateRows()
{
    static const std::vector<tRow> rows = {
        {"the day clicked in its middle", 1, "15", QDate(2024, 3, 15)},
        {"the month clicked", 4, "11", QDate(2024, 11, 4)},
        {"the year clicked", 8, "2028", QDate(2028, 3, 4)},
        {"a day of one digit, then the month's part", 0, "9/", QDate(2024, 3, 9)},
        {"a whole date over the field", -1, "25/12/2027", QDate(2027, 12, 25)},
        {"a whole date of one-digit parts", -1, "5/6/2026", QDate(2026, 6, 5)},
        {"a whole date of digits only", -1, "06072025", QDate(2025, 7, 6)},
    };
    return rows;
}

// Clicks the field's text before its character `index` as a user does
// (the field given the focus), or selects it whole by Ctrl+A for -1,
// then types `keys`.
inline void Type(QDateTimeEdit *field, int index, const QString &keys)
{
    auto *text = field->findChild<QLineEdit *>();
    if (index >= 0 && text) {
        // The middle of the points that put the caret there.
        const int y = text->height() / 2;
        int first = -1, last = -1;
        for (int x = 0; x < text->width(); ++x) {
            if (text->cursorPositionAt(QPoint(x, y)) == index) {
                if (first < 0)
                    first = x;
                last = x;
            }
        }
        QTest::mouseClick(text, Qt::LeftButton, Qt::NoModifier, QPoint((first + last) / 2, y));
    } else {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    }
    QTest::keyClicks(field, keys);
}

// The French locale for the fields made while it lives.
class FrenchFields
{
public:
    FrenchFields() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
    ~FrenchFields() { QLocale::setDefault(m_before); }
    FrenchFields(const FrenchFields &) = delete;
    FrenchFields &operator=(const FrenchFields &) = delete;

private:
    QLocale m_before;
};

} // namespace DateFieldTyping
