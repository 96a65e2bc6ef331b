#include "DateTimeTyping.h"

#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

void DateTimeTyping::Install(QDateTimeEdit *field)
{
    if (!field || field->findChild<DateTimeTyping *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    auto *text = field->findChild<QLineEdit *>();
    if (!text)
        return;
    new DateTimeTyping(field, text);
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

bool DateTimeTyping::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        return OnKey(key->text());
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
