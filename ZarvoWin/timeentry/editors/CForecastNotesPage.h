#pragma once
#include "CForecastPage.h"

class QPlainTextEdit;

// The title and notes page of the project editor: one edit holding the
// project's comment or the activity row's notes.
class CForecastNotesPage : public CForecastPage
{
    Q_OBJECT
public:
    explicit CForecastNotesPage(QWidget *parent = nullptr);

    QString NotesText() const override;
    void SetNotesText(const QString &text) override;
    QPlainTextEdit *Edit() const { return m_edit; }

private:
    QPlainTextEdit *m_edit = nullptr;
};
