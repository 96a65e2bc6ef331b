#include "CForecastNotesPage.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

CForecastNotesPage::CForecastNotesPage(QWidget *parent)
    : CForecastPage(parent)
{
    m_edit = new QPlainTextEdit(this);
    m_edit->setTabChangesFocus(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_edit);
    setFocusProxy(m_edit);
}

QString CForecastNotesPage::NotesText() const
{
    return m_edit->toPlainText();
}

void CForecastNotesPage::SetNotesText(const QString &text)
{
    m_edit->setPlainText(text);
}
