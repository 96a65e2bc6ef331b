#include "CReportDates.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "CMyDateTimeCtrl.h"
#include "CReadOnlyCB.h"
#include "Clock.h"
#include "LocalTime.h"
#include "MessageBoxParams.h"
#include "ReportPeriod.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "WidgetIds.h"
#include "tReportDefinition.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

template <typename T> T *numbered(T *widget, int id)
{
    WidgetIds::SetControlId(widget, id);
    widget->setObjectName(QString::number(id));
    return widget;
}

} // namespace

CReportDates::CReportDates()
    : CReportWizardPage(DialogId)
{
}

void CReportDates::OnInitDialog()
{
    m_period = numbered(new CReadOnlyCB(this), PeriodCombo);
    m_start = numbered(new CMyDateTimeCtrl(this), StartDate);
    m_end = numbered(new CMyDateTimeCtrl(this), EndDate);
    auto *startLabel = numbered(new QLabel(this), StartLabel);
    auto *endLabel = numbered(new QLabel(this), EndLabel);
    m_status = numbered(new CReadOnlyCB(this), StatusCombo);
    m_showStatus = numbered(new QCheckBox(this), ShowStatusCheck);
    // Dates in the user's short format, as the calendar's picker shows them.
    if (const CConfiguration *config = CAppData::Configuration()) {
        const QString format = config->Locale().dateFormat(QLocale::ShortFormat);
        m_start->setDisplayFormat(format);
        m_end->setDisplayFormat(format);
    }
    startLabel->setBuddy(m_start);
    endLabel->setBuddy(m_end);

    auto *grid = new QGridLayout;
    grid->addWidget(m_period, 0, 0, 1, 2);
    grid->addWidget(startLabel, 1, 0);
    grid->addWidget(m_start, 1, 1);
    grid->addWidget(endLabel, 2, 0);
    grid->addWidget(m_end, 2, 1);
    grid->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(fontMetrics().height());
    layout->addWidget(m_status);
    layout->addWidget(m_showStatus);
    layout->addStretch(1);

    TranslatePage();
    if (m_definition) {
        const int code = m_definition->Periode >= 0 && m_definition->Periode <= CustomPeriod ? m_definition->Periode : 0;
        m_period->setCurrentIndex(code);
        ApplyPeriod();
        m_status->setCurrentIndex(m_definition->Status >= 0 && m_definition->Status <= 2 ? m_definition->Status : 2);
        m_showStatus->setChecked(m_definition->ShowStatus);
    }

    connect(m_period, &QComboBox::activated, this, [this](int code) { SelectPeriod(code); });
    connect(m_start, &QDateEdit::dateChanged, this, [this](const QDate &date) {
        if (m_showing || !m_definition)
            return;
        m_definition->Debut = date;
        m_definition->BuildAutoTitle();
    });
    connect(m_end, &QDateEdit::dateChanged, this, [this](const QDate &date) {
        if (m_showing || !m_definition)
            return;
        m_definition->Fin = date;
        m_definition->BuildAutoTitle();
    });
}

void CReportDates::FillCombos()
{
    static const Platform::TextId periods[] = {115, 116, 117, 118, 119, 120, 121, 122, 123, 126};
    static const Platform::TextId statuses[] = {130, 412, 413};
    const int period = m_period->currentIndex();
    const int status = m_status->currentIndex();
    m_period->clear();
    for (int id : periods)
        m_period->addItem(Platform::Texts::get(id));
    m_status->clear();
    for (int id : statuses)
        m_status->addItem(Platform::Texts::get(id));
    m_period->setCurrentIndex(period);
    m_status->setCurrentIndex(status);
}

void CReportDates::TranslatePage()
{
    if (!IsCreated() || !m_period)
        return;
    TranslateDialog(this, DialogId);
    FillCombos();
}

void CReportDates::SelectPeriod(int code)
{
    if (code < 0 || code > CustomPeriod)
        return;
    m_period->setCurrentIndex(code);
    ApplyPeriod();
}

void CReportDates::ApplyPeriod()
{
    if (!m_definition)
        return;
    tReportDefinition &d = *m_definition;
    d.Periode = m_period->currentIndex();
    const bool custom = d.Periode == CustomPeriod;
    m_start->setEnabled(custom);
    m_end->setEnabled(custom);
    if (custom) {
        const QDate today = Platform::LocalTime::localDate(Platform::Clock::now());
        if (RepairCustomPeriod(d.Debut, d.Fin, today))
            Warn(431);
        else if (SwapReversedPeriod(d.Debut, d.Fin))
            Warn(SwappedDatesText);
    } else {
        GetPeriodDates(d.Periode, d.Debut, d.Fin);
    }
    ShowDates();
    d.BuildAutoTitle();
}

void CReportDates::ShowDates()
{
    m_showing = true;
    m_start->setDate(m_definition->Debut);
    m_end->setDate(m_definition->Fin);
    m_showing = false;
}

void CReportDates::Warn(int textId)
{
    RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconExclamation, window(), Platform::Texts::get(textId),
                   Platform::Texts::get(128));
}

void CReportDates::OnOK()
{
    if (!m_definition)
        return;
    // Dates typed in reverse are the period between them, never a report
    // that counts backwards.
    if (m_definition->Periode == CustomPeriod && SwapReversedPeriod(m_definition->Debut, m_definition->Fin)) {
        ShowDates();
        Warn(SwappedDatesText);
    }
    m_definition->Status = m_status->currentIndex();
    m_definition->ShowStatus = m_showStatus->isChecked();
}
