#include "CViewDetailSynchroTask.h"

#include "CEditReadOnly.h"
#include "SyncDetailTexts.h"
#include "WidgetIds.h"
#include "tTimeEntryDetails.h"

#include <QGridLayout>
#include <QLabel>

namespace {

void showText(QLineEdit *edit, const QString &text)
{
    edit->setText(text);
    edit->setCursorPosition(0);
}

} // namespace

CViewDetailSynchroTask::CViewDetailSynchroTask(QWidget *parent)
    : CSyncDetailPane(DialogId, parent)
{
    AddField(ProjectField, true);
    AddField(ActivityField, true);
    AddField(RateField, true);
    AddField(StartField, true);
    AddField(EndField, true);
    AddField(DurationField, false);
    AddField(TitleField, true);
    AddField(NotesField, true);
    // The invoicing state stands on a line of its own below the fields.
    m_invoiced = new QLabel(Grid()->parentWidget());
    m_invoiced->setObjectName(QStringLiteral("invoiced"));
    Grid()->addWidget(m_invoiced, Grid()->rowCount(), 1);
    Grid()->setRowStretch(Grid()->rowCount(), 1);
    Retranslate();
}

CEditReadOnly *CViewDetailSynchroTask::AddField(int fieldId, bool wide)
{
    auto *edit = new CEditReadOnly(Grid()->parentWidget());
    edit->setReadOnly(true);
    edit->SetBackgroundColor(0xFFFFFF);
    // The label carries the field's number: the field's caption in the
    // pane's dialog.
    AddLine(fieldId, edit, fieldId);
    if (!wide) {
        // A duration keeps its width; the other fields reach the right margin.
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000:00")) * 2);
        Grid()->setAlignment(edit, Qt::AlignLeft);
    }
    return edit;
}

void CViewDetailSynchroTask::ShowTask(const tTimeEntryDetails &entry, const CConfiguration &formats)
{
    const SyncDetailTexts::TaskTexts texts = SyncDetailTexts::ForTask(entry, formats);
    const std::pair<int, const QString *> fields[] = {
        {ProjectField, &texts.project}, {ActivityField, &texts.activity}, {RateField, &texts.rate},
        {StartField, &texts.start},     {EndField, &texts.end},           {DurationField, &texts.duration},
        {TitleField, &texts.title},     {NotesField, &texts.notes},
    };
    for (const auto &[id, text] : fields) {
        if (auto *edit = qobject_cast<QLineEdit *>(Field(id)))
            showText(edit, *text);
    }
    m_invoiced->setText(texts.invoiced);
}

void CViewDetailSynchroTask::Clear()
{
    for (int id : {ProjectField, ActivityField, RateField, StartField, EndField, DurationField, TitleField,
                   NotesField}) {
        if (auto *edit = qobject_cast<QLineEdit *>(Field(id)))
            edit->clear();
    }
    m_invoiced->clear();
}

QString CViewDetailSynchroTask::FieldText(int fieldId) const
{
    if (fieldId == InvoicedText)
        return m_invoiced->text();
    const auto *edit = qobject_cast<const QLineEdit *>(Field(fieldId));
    return edit ? edit->text() : QString();
}
