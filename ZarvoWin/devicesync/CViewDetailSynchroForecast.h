#pragma once
#include "CSyncDetailPane.h"

class CConfiguration;
class CImgFromListe;
class QCheckBox;
struct tForecast;

// One side of a plan (a Forecast row) in the review of a device
// synchronisation: priority and status pictures, dates, durations,
// predecessors and notes, and three ticks. It only displays.
class CViewDetailSynchroForecast : public CSyncDetailPane
{
    Q_OBJECT
public:
    enum ControlId {
        DialogId = 498,
        PriorityImage = 1400, StatusImage = 1402,
        StartField = 1186, EndField = 1187, AlertField = 1062,
        PlannedField = 1405, ExtraField = 1407, EstimatedField = 1188,
        PredecessorsField = 1275, NotesField = 1274,
        DaysCheck = 1363, AfterPredecessorsCheck = 1403, AutoCheck = 1408,
    };
    // Where the priorities and statuses stand in the forecast grid's list
    // of pictures, which the pane shares.
    static constexpr int FirstPriorityImage = 0;
    static constexpr int FirstStatusImage = 5;

    explicit CViewDetailSynchroForecast(QWidget *parent = nullptr);

    void ShowForecast(const QString &predecessorNames, const tForecast &forecast, const CConfiguration &formats);
    void Clear();

    QString FieldText(int fieldId) const;
    bool IsChecked(int checkId) const;
    // The picture shown (in the shared list), -1 for none.
    int ImageIndex(int imageId) const;

private:
    CImgFromListe *m_priority;
    CImgFromListe *m_status;
    QCheckBox *m_days;
    QCheckBox *m_afterPredecessors;
    QCheckBox *m_auto;
};
