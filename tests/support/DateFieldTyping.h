#pragma once
// A user typing into a date or time field of the program, and the table
// of what is typed into every date field under the French format
// (dd/MM/yyyy) with the date it gives, from 04/03/2024.
#include <QDate>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <gtest/gtest.h>

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
    // When not -1, the press at `click` is dragged to the caret place
    // after that many characters and released there, selecting the span.
    int dragTo;
};

// The date every row starts from.
inline QDate Start()
{
    return QDate(2024, 3, 4);
}

inline const std::vector<tRow> &DateRows()
{
    static const std::vector<tRow> rows = {
        {"the day clicked in its middle", 1, "15", QDate(2024, 3, 15), -1},
        {"the month clicked", 4, "11", QDate(2024, 11, 4), -1},
        {"the year clicked", 8, "2028", QDate(2028, 3, 4), -1},
        {"a day of one digit, then the month's part", 0, "9/", QDate(2024, 3, 9), -1},
        {"a whole date over the field", -1, "25/12/2027", QDate(2027, 12, 25), -1},
        {"a whole date of one-digit parts", -1, "5/6/2026", QDate(2026, 6, 5), -1},
        {"a whole date of digits only", -1, "06072025", QDate(2025, 7, 6), -1},
        {"a drag from the day's first digit to the year's last, then a whole date", 0, "25/12/2027",
         QDate(2027, 12, 25), 10},
    };
    return rows;
}

// The point of the field's text where a click puts the caret before its
// character `index` (after the last one for its length): the middle of the
// points that do, or the first of them with `first`.
inline QPoint CaretPoint(QLineEdit *text, int index, bool first = false)
{
    const int y = text->height() / 2;
    int from = -1, to = -1;
    for (int x = 0; x < text->width(); ++x) {
        if (text->cursorPositionAt(QPoint(x, y)) == index) {
            if (from < 0)
                from = x;
            to = x;
        }
    }
    return QPoint(first ? from : (from + to) / 2, y);
}

// Clicks the field's text before its character `index` as a user does
// (the field given the focus), or selects it whole by Ctrl+A for -1,
// then types `keys`.
inline void Type(QDateTimeEdit *field, int index, const QString &keys)
{
    auto *text = field->findChild<QLineEdit *>();
    if (index >= 0 && text) {
        QTest::mouseClick(text, Qt::LeftButton, Qt::NoModifier, CaretPoint(text, index));
    } else {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    }
    QTest::keyClicks(field, keys);
}

// Types a row of the table: a click or Ctrl+A as Type() does, or a drag
// with the button held from the row's `click` to its `dragTo`, which must
// leave the whole span dragged over selected.
inline void Type(QDateTimeEdit *field, const tRow &row)
{
    auto *text = field->findChild<QLineEdit *>();
    if (row.dragTo < 0 || !text) {
        Type(field, row.click, QString::fromLatin1(row.keys));
        return;
    }
    const QPoint from = CaretPoint(text, row.click);
    // Just past the middle of the last character dragged over.
    const QPoint to = CaretPoint(text, row.dragTo, true);
    QTest::mousePress(text, Qt::LeftButton, Qt::NoModifier, from);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(text, from + (to - from) * step / 4);
    QTest::mouseRelease(text, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(text->selectedText(), text->text().mid(row.click, row.dragTo - row.click))
        << "the span dragged over stays selected";
    QTest::keyClicks(field, QString::fromLatin1(row.keys));
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
