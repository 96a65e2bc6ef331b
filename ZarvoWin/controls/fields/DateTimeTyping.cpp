#include "DateTimeTyping.h"

#include "TypedTextCommit.h"

#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace {

// The digits a whole numeric part of `format` has: "yyyy" 4, "yy", "dd",
// "d", "MM", "M", "hh", "mm"... 2. 0 for a part written in words ("MMM",
// "ddd", "AP") or that is not there.
int PartWidth(const QString &format, QChar letter)
{
    int run = 0;
    for (qsizetype i = format.size() - 1; i >= 0; --i) {
        if (format.at(i) == letter)
            ++run;
        else if (run > 0)
            break;
    }
    if (letter == u'y')
        return run == 4 ? 4 : run == 2 ? 2 : 0;
    return run == 1 || run == 2 ? 2 : 0;
}

QChar SectionLetter(QDateTimeEdit::Section section)
{
    switch (section) {
    case QDateTimeEdit::YearSection: return u'y';
    case QDateTimeEdit::MonthSection: return u'M';
    case QDateTimeEdit::DaySection: return u'd';
    case QDateTimeEdit::HourSection: return u'H';
    case QDateTimeEdit::MinuteSection: return u'm';
    case QDateTimeEdit::SecondSection: return u's';
    default: return QChar();
    }
}

} // namespace

void DateTimeTyping::Install(QDateTimeEdit *field)
{
    if (!field || field->findChild<DateTimeTyping *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    auto *text = field->findChild<QLineEdit *>();
    if (!text)
        return;
    new DateTimeTyping(field, text);
    TypedTextCommit::Install();
}

DateTimeTyping::DateTimeTyping(QDateTimeEdit *field, QLineEdit *text)
    : QObject(field)
    , m_field(field)
    , m_text(text)
{
    // The keys come to the field, the clicks to its text.
    field->installEventFilter(this);
    text->installEventFilter(this);
}

void DateTimeTyping::TakeWholeDates(QDateTimeEdit *field)
{
    Install(field);
    if (auto *typing = field ? field->findChild<DateTimeTyping *>(QString(), Qt::FindDirectChildrenOnly) : nullptr)
        typing->m_takeWhole = true;
}

bool DateTimeTyping::IsTyping(const QDateTimeEdit *field)
{
    const auto *typing = field ? field->findChild<DateTimeTyping *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    return typing && typing->m_inKey;
}

bool DateTimeTyping::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        if (m_inKey)
            return false;
        if (OnKey(key->text()))
            return true;
        if (!m_takeWhole || key->text().size() != 1 || !key->text().front().isPrint() || m_field->isReadOnly())
            return false;
        // The field takes the key first (a separator that ends a part of
        // one digit may change its date there: IsTyping() tells such a
        // change); then a date whose last part is whole is taken and the
        // typing ends: what follows the date (another field) sees it as
        // soon as it is written.
        m_inKey = true;
        QCoreApplication::sendEvent(m_field, event);
        m_inKey = false;
        if (LastPartWhole()) {
            m_field->interpretText();
            emit m_field->editingFinished();
        }
        return true;
    }
    if (watched == m_text && event->type() == QEvent::MouseButtonRelease) {
        // The press placed the caret; a drag that selected text keeps it.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && !m_text->hasSelectedText() && !m_field->isReadOnly())
            m_field->setSelectedSection(m_field->currentSection());
    }
    return false;
}

bool DateTimeTyping::OnKey(const QString &typed)
{
    if (typed.size() != 1 || !typed.front().isPrint() || m_field->isReadOnly())
        return false;
    const QChar c = typed.front();
    if (!c.isDigit() && m_text->hasSelectedText()) {
        // After a complete part the field selected the next one: the
        // separator the user types now is the one it skipped.
        const int start = m_text->selectionStart();
        if (start > 0 && !m_text->text().at(start - 1).isDigit()
            && m_text->selectedText() == m_field->sectionText(m_field->currentSection()))
            return true;
    }
    // Typing over the whole field starts with its first part.
    if (c.isDigit() && m_text->hasSelectedText() && m_text->selectedText() == m_text->text())
        m_field->setSelectedSection(m_field->sectionAt(0));
    return false;
}

bool DateTimeTyping::LastPartWhole() const
{
    const int last = m_field->sectionCount() - 1;
    if (last < 0 || m_field->currentSectionIndex() != last || m_text->hasSelectedText()
        || m_text->cursorPosition() != m_text->text().size())
        return false;
    const QDateTimeEdit::Section section = m_field->sectionAt(last);
    QChar letter = SectionLetter(section);
    if (letter == u'H' && !m_field->displayFormat().contains(u'H'))
        letter = u'h';
    const int width = letter.isNull() ? 0 : PartWidth(m_field->displayFormat(), letter);
    return width > 0 && m_field->sectionText(section).size() >= width;
}
