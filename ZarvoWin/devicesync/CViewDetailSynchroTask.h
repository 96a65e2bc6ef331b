#pragma once
#include "CSyncDetailPane.h"

class CConfiguration;
class CEditReadOnly;
class QLabel;
struct tTimeEntryDetails;

// One side of a time entry in the review of a device synchronisation:
// project, activity, rate, start, end, duration, title, notes and whether
// it was invoiced. It only displays.
class CViewDetailSynchroTask : public CSyncDetailPane
{
    Q_OBJECT
public:
    enum ControlId {
        DialogId = 411,
        ProjectField = 1184, ActivityField = 1185, RateField = 1007,
        StartField = 1186, EndField = 1187, DurationField = 1188,
        TitleField = 1061, NotesField = 1274, InvoicedText = 1191,
    };

    explicit CViewDetailSynchroTask(QWidget *parent = nullptr);

    void ShowTask(const tTimeEntryDetails &entry, const CConfiguration &formats);
    void Clear();

    QString FieldText(int fieldId) const;

private:
    CEditReadOnly *AddField(int fieldId, bool wide);

    QLabel *m_invoiced;
};
