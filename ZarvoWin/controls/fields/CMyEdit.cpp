#include "CMyEdit.h"

#include "CEditReadOnly.h"

#include "Formatter.h"
#include "IntParse.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPointer>

namespace {

CMyEdit::Beeper &beeper()
{
    static CMyEdit::Beeper b;
    return b;
}

// The keys that type: a text without control characters, with no
// shortcut modifier held.
bool typesText(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

// The standard menu's actions carry their shortcut after a tab.
bool hasShortcut(const QAction *action, QKeySequence::StandardKey key)
{
    const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
    return !shortcut.isEmpty() && action->text().endsWith(u'\t' + shortcut);
}

} // namespace

CMyEdit::CMyEdit(QWidget *parent)
    : QLineEdit(parent)
{
    m_rules.separator = SystemDecimalSeparator();
}

QChar CMyEdit::SystemDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.front();
}

void CMyEdit::SetNumberMode(bool integerOnly)
{
    m_rules.mode = EditKeyRules::Mode::Number;
    m_rules.integerOnly = integerOnly;
}

void CMyEdit::SetFileNameMode()
{
    m_rules.mode = EditKeyRules::Mode::FileName;
}

void CMyEdit::SetIdentifierMode()
{
    m_rules.mode = EditKeyRules::Mode::Identifier;
}

void CMyEdit::SetCaptionMode()
{
    m_rules.mode = EditKeyRules::Mode::Caption;
}

void CMyEdit::SetRange(int minimum, int maximum)
{
    m_rules.rangeCheck = true;
    m_rules.minimum = minimum;
    m_rules.maximum = maximum;
}

void CMyEdit::ClearRange()
{
    m_rules.rangeCheck = false;
}

void CMyEdit::SetBackgroundColor(quint32 colour)
{
    m_background = colour;
    UpdateBackground();
}

void CMyEdit::SetBeeper(Beeper b)
{
    beeper() = std::move(b);
}

void CMyEdit::Beep()
{
    if (beeper())
        beeper()();
    else
        QApplication::beep();
}

// ---------------------------------------------------------------- values

double CMyEdit::GetDoubleValue() const
{
    return Platform::wtof(QString(text()).replace(m_rules.separator, u'.'));
}

void CMyEdit::SetDoubleValue(QStringView format, double value)
{
    if (value > 0) // false for a value that is not a number
        setText(Platform::Formatter::sprintf(format, {value}).replace(u'.', m_rules.separator));
    else
        setText(m_showZero ? QStringLiteral("0") : QString());
}

void CMyEdit::SetIntValue(int value)
{
    if (value >= 1)
        setText(QString::number(value));
    else
        setText(m_showZero ? QStringLiteral("0") : QString());
}

double CMyEdit::GetWindowDouble(const QWidget *window)
{
    if (!window)
        return 0;
    return Platform::wtof(window->property("text").toString());
}

// ---------------------------------------------------------------- changes

EditKeyRules::Selection CMyEdit::CurrentSelection() const
{
    if (hasSelectedText())
        return {selectionStart(), int(selectedText().size())};
    return {cursorPosition(), 0};
}

bool CMyEdit::Apply(const EditKeyRules::Result &result)
{
    switch (result.verdict) {
    case EditKeyRules::Verdict::Accept:
        if (result.length > 0)
            setSelection(result.start, result.length);
        else
            setCursorPosition(result.start);
        // One step of the field's undo history.
        insert(result.replacement);
        return true;
    case EditKeyRules::Verdict::Beep:
        Beep();
        return false;
    case EditKeyRules::Verdict::Ignore:
        break;
    }
    return false;
}

bool CMyEdit::InsertText(const QString &inserted)
{
    if (isReadOnly() || (inserted.isEmpty() && !hasSelectedText()))
        return false;
    return Apply(m_rules.Insert(text(), CurrentSelection(), inserted));
}

void CMyEdit::Cut()
{
    if (isReadOnly() || !hasSelectedText() || echoMode() != Normal)
        return;
    const EditKeyRules::Result result = m_rules.DeleteForward(text(), CurrentSelection());
    if (result.verdict == EditKeyRules::Verdict::Accept)
        copy();
    Apply(result);
}

void CMyEdit::CheckChange(const QString &before, int cursorBefore)
{
    if (text() == before || m_rules.IsAcceptable(text()))
        return;
    setText(before);
    setCursorPosition(cursorBefore);
    Beep();
}

// ---------------------------------------------------------------- events

void CMyEdit::keyPressEvent(QKeyEvent *event)
{
    if (isReadOnly()) {
        const bool typed = typesText(event) || event->key() == Qt::Key_Backspace
            || event->key() == Qt::Key_Delete;
        if (m_notifyReadOnly && typed) {
            const QVariant id = property("controlId");
            emit readOnlyKeyTyped(id.isValid() ? id.toInt() : -1);
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (event->matches(QKeySequence::Paste)) {
        InsertText(QGuiApplication::clipboard()->text());
    } else if (event->matches(QKeySequence::Cut)) {
        Cut();
    } else if (plain && event->key() == Qt::Key_Backspace) {
        Apply(m_rules.Key(text(), CurrentSelection(), u'\b'));
    } else if (plain && event->key() == Qt::Key_Delete) {
        Apply(m_rules.DeleteForward(text(), CurrentSelection()));
    } else if (typesText(event)) {
        const QString typed = event->text();
        if (typed.size() == 1)
            Apply(m_rules.Key(text(), CurrentSelection(), typed.front()));
        else
            InsertText(typed); // several characters at once (a surrogate pair, a compose key)
    } else {
        // Moves, selections, undo, word erasures: Qt's own, checked after.
        const QString before = text();
        const int cursorBefore = cursorPosition();
        QLineEdit::keyPressEvent(event);
        CheckChange(before, cursorBefore);
        return;
    }
    event->accept();
}

void CMyEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (isReadOnly() || event->commitString().isEmpty() || !event->preeditString().isEmpty()
        || event->replacementLength() != 0) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    InsertText(event->commitString());
    event->accept();
}

void CMyEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QPointer<QMenu> menu = createStandardContextMenu();
    if (!menu)
        return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Paste and cut go through the rules; the other entries are checked
    // after they ran.
    for (QAction *action : menu->actions()) {
        if (hasShortcut(action, QKeySequence::Paste)) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this,
                    [this] { InsertText(QGuiApplication::clipboard()->text()); });
        } else if (hasShortcut(action, QKeySequence::Cut)) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, [this] { Cut(); });
        } else {
            connect(action, &QAction::triggered, this,
                    [this, before = text(), cursor = cursorPosition()] { CheckChange(before, cursor); });
        }
    }
    menu->popup(event->globalPos());
    event->accept();
}

void CMyEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection() && !isReadOnly()) {
        // The selection paste of X11, at the click.
        deselect();
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        InsertText(clipboard->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void CMyEdit::dropEvent(QDropEvent *event)
{
    if (isReadOnly() || !event->mimeData()->hasText()) {
        QLineEdit::dropEvent(event);
        return;
    }
    if (event->source() == this) {
        // A move or copy inside the field: Qt places it, the rules check it.
        const QString before = text();
        const int cursorBefore = cursorPosition();
        QLineEdit::dropEvent(event);
        CheckChange(before, cursorBefore);
        return;
    }
    const int at = cursorPositionAt(event->position().toPoint());
    const EditKeyRules::Result result = m_rules.Insert(text(), {at, 0}, event->mimeData()->text());
    if (result.verdict != EditKeyRules::Verdict::Accept) {
        // Ends the drop cursor as a drag that left would.
        QDragLeaveEvent leave;
        QLineEdit::dragLeaveEvent(&leave);
        event->ignore();
        Beep();
        return;
    }
    // Qt drops the text as the rules made it (the separator converted).
    QMimeData typed;
    typed.setText(result.replacement);
    QDropEvent drop(event->position(), event->possibleActions(), &typed, event->buttons(),
                    event->modifiers());
    drop.setDropAction(event->proposedAction());
    QLineEdit::dropEvent(&drop);
    event->setDropAction(drop.dropAction());
    event->setAccepted(drop.isAccepted());
}

void CMyEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::ReadOnlyChange || event->type() == QEvent::EnabledChange)
        UpdateBackground();
}

void CMyEdit::UpdateBackground()
{
    CEditReadOnly::ShowBackground(this, isReadOnly() && isEnabled(), m_background);
}
