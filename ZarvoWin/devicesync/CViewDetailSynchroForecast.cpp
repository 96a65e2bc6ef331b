#include "CViewDetailSynchroForecast.h"

#include "CImgFromListe.h"
#include "CMyEdit.h"
#include "ForecastImages.h"
#include "SyncDetailTexts.h"
#include "WidgetIds.h"
#include "tForecast.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace {

constexpr int EditIds[] = {
    CViewDetailSynchroForecast::StartField,   CViewDetailSynchroForecast::EndField,
    CViewDetailSynchroForecast::AlertField,   CViewDetailSynchroForecast::PlannedField,
    CViewDetailSynchroForecast::ExtraField,   CViewDetailSynchroForecast::EstimatedField,
    CViewDetailSynchroForecast::PredecessorsField, CViewDetailSynchroForecast::NotesField,
};

void showText(QLineEdit *edit, const QString &text)
{
    edit->setText(text);
    edit->setCursorPosition(0);
}

// A tick that shows a value: the user cannot change it.
QCheckBox *displayCheck(QWidget *parent, int id)
{
    auto *check = new QCheckBox(parent);
    WidgetIds::SetControlId(check, id);
    check->setAttribute(Qt::WA_TransparentForMouseEvents);
    check->setFocusPolicy(Qt::NoFocus);
    return check;
}

} // namespace

CViewDetailSynchroForecast::CViewDetailSynchroForecast(QWidget *parent)
    : CSyncDetailPane(DialogId, parent)
{
    QWidget *group = Grid()->parentWidget();
    m_priority = new CImgFromListe(group);
    m_status = new CImgFromListe(group);
    for (CImgFromListe *image : {m_priority, m_status}) {
        image->SetImageList(&ForecastImages::StateImages());
        image->setFixedWidth(20);
    }
    // The pictures' labels carry the pictures' numbers.
    auto *images = new QWidget(group);
    auto *imagesLayout = new QHBoxLayout(images);
    imagesLayout->setContentsMargins(0, 0, 0, 0);
    imagesLayout->addWidget(m_priority);
    auto *statusLabel = new QLabel(images);
    WidgetIds::SetControlId(statusLabel, StatusImage);
    imagesLayout->addSpacing(12);
    imagesLayout->addWidget(statusLabel);
    imagesLayout->addWidget(m_status);
    imagesLayout->addStretch(1);
    AddLine(PriorityImage, images, 0);
    WidgetIds::SetControlId(m_priority, PriorityImage);
    WidgetIds::SetControlId(m_status, StatusImage);

    for (int id : EditIds) {
        auto *edit = new CMyEdit(group);
        edit->SetIdentifierMode();
        edit->setReadOnly(true);
        AddLine(id, edit, id);
    }
    m_days = displayCheck(group, DaysCheck);
    m_afterPredecessors = displayCheck(group, AfterPredecessorsCheck);
    m_auto = displayCheck(group, AutoCheck);
    auto *checks = new QWidget(group);
    auto *checksLayout = new QHBoxLayout(checks);
    checksLayout->setContentsMargins(0, 0, 0, 0);
    for (QCheckBox *check : {m_days, m_afterPredecessors, m_auto})
        checksLayout->addWidget(check);
    checksLayout->addStretch(1);
    const int row = Grid()->rowCount();
    Grid()->addWidget(checks, row, 0, 1, 2);
    Grid()->setRowStretch(row + 1, 1);
    Retranslate();
}

void CViewDetailSynchroForecast::ShowForecast(const QString &predecessorNames, const tForecast &forecast,
                                              const CConfiguration &formats)
{
    const SyncDetailTexts::ForecastTexts texts = SyncDetailTexts::ForForecast(forecast, predecessorNames, formats);
    m_priority->SetImage(texts.priorityImage < 0 ? -1 : FirstPriorityImage + texts.priorityImage);
    m_status->SetImage(texts.statusImage < 0 ? -1 : FirstStatusImage + texts.statusImage);
    const std::pair<int, const QString *> fields[] = {
        {StartField, &texts.start},         {EndField, &texts.end},
        {AlertField, &texts.alert},         {PlannedField, &texts.planned},
        {ExtraField, &texts.extra},         {EstimatedField, &texts.estimated},
        {PredecessorsField, &texts.predecessors}, {NotesField, &texts.notes},
    };
    for (const auto &[id, text] : fields) {
        if (auto *edit = qobject_cast<QLineEdit *>(Field(id)))
            showText(edit, *text);
    }
    m_days->setChecked(texts.days);
    m_afterPredecessors->setChecked(texts.afterPredecessors);
    m_auto->setChecked(texts.automatic);
}

void CViewDetailSynchroForecast::Clear()
{
    m_priority->SetImage(-1);
    m_status->SetImage(-1);
    for (QCheckBox *check : {m_days, m_afterPredecessors, m_auto})
        check->setChecked(false);
    for (int id : EditIds) {
        if (auto *edit = qobject_cast<QLineEdit *>(Field(id)))
            edit->clear();
    }
}

QString CViewDetailSynchroForecast::FieldText(int fieldId) const
{
    const auto *edit = qobject_cast<const QLineEdit *>(Field(fieldId));
    return edit ? edit->text() : QString();
}

bool CViewDetailSynchroForecast::IsChecked(int checkId) const
{
    const auto *check = qobject_cast<const QCheckBox *>(Field(checkId));
    return check && check->isChecked();
}

int CViewDetailSynchroForecast::ImageIndex(int imageId) const
{
    return imageId == PriorityImage ? m_priority->Image() : imageId == StatusImage ? m_status->Image() : -1;
}
