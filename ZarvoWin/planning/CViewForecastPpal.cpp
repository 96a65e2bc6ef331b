#include "CViewForecastPpal.h"

#include "CAppData.h"
#include "CBitmapSlider.h"
#include "CColumnsLayout.h"
#include "CComboBoxFiller.h"
#include "CComboBoxSuper.h"
#include "CConfiguration.h"
#include "CMyDateTimeCtrl.h"
#include "CProject.h"
#include "CReadOnlyCB.h"
#include "CRestant.h"
#include "Clock.h"
#include "DateTimeTyping.h"
#include "EntryDialogWidgets.h"
#include "ForecastPlanningRules.h"
#include "RecordEditorServices.h"
#include "RecordEditorTools.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QCheckBox>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimeEdit>
#include <QToolButton>

namespace {

using Rules = ForecastPlanningRules;

constexpr int ManualImage = 27;
constexpr int AutomaticImage = 26;
// The read-only displays.
constexpr int DisplayIds[] = {CViewForecastPpal::IdComputedPlanned, CViewForecastPpal::IdChildrenExpected,
                              CViewForecastPpal::IdDone,            CViewForecastPpal::IdDoneWithExtra,
                              CViewForecastPpal::IdExpected,        CViewForecastPpal::IdRemaining};

const CConfiguration &configuration()
{
    static const CConfiguration fallback;
    const CConfiguration *config = CAppData::Configuration();
    return config ? *config : fallback;
}

} // namespace

CViewForecastPpal::CViewForecastPpal(QWidget *parent)
    : CForecastPage(parent)
{
    auto label = [this](int id) { return Numbered(new QLabel(this), id); };
    auto check = [this](int id) { return Numbered(new QCheckBox(this), id); };
    auto display = [this](int id) {
        auto *edit = Numbered(new QLineEdit(this), id);
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::ClickFocus);
        return edit;
    };
    auto amount = [this](int id) {
        auto *spin = Numbered(new QSpinBox(this), id);
        spin->setRange(0, MaxAmount);
        return spin;
    };
    auto dayButton = [](QWidget *owner, int id, bool later) {
        auto *button = Numbered(new QToolButton(owner), id);
        button->setArrowType(later ? Qt::RightArrow : Qt::LeftArrow);
        button->setAutoRaise(true);
        return button;
    };
    // A date, a time without seconds and the two day buttons in a row.
    const QString timeFormat = QLocale().timeFormat(QLocale::ShortFormat).remove(QStringLiteral(":ss"));
    auto pickers = [&](int dateId, int timeId, int earlierId, int laterId, CMyDateTimeCtrl *&date,
                       QTimeEdit *&time) {
        auto *row = new QWidget(this);
        date = Numbered(new CMyDateTimeCtrl(row), dateId);
        time = Numbered(new QTimeEdit(row), timeId);
        time->setDisplayFormat(timeFormat);
        DateTimeTyping::Install(time);
        auto *earlier = dayButton(row, earlierId, false);
        auto *later = dayButton(row, laterId, true);
        auto *layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(date, 1);
        layout->addWidget(time);
        layout->addWidget(earlier);
        layout->addWidget(later);
        CMyDateTimeCtrl *dateField = date;
        connect(earlier, &QToolButton::clicked, this, [this, dateField] { MoveDay(dateField, -1); });
        connect(later, &QToolButton::clicked, this, [this, dateField] { MoveDay(dateField, 1); });
        return row;
    };

    m_wishedStart = check(IdWishedStart);
    m_predecessors = check(IdPredecessors);
    m_wishedEnd = check(IdWishedEnd);
    m_alert = check(IdAlert);
    m_inDays = check(IdInDays);
    m_startPickers = pickers(IdStartDate, IdStartTime, IdStartEarlier, IdStartLater, m_startDate, m_startTime);
    m_endPickers = pickers(IdEndDate, IdEndTime, IdEndEarlier, IdEndLater, m_endDate, m_endTime);
    m_alertPickers = pickers(IdAlertDate, IdAlertTime, IdAlertEarlier, IdAlertLater, m_alertDate, m_alertTime);
    m_asap = label(IdAsap);
    // "Asap" lies over the start pickers.
    m_startStack = new QStackedWidget(this);
    m_startStack->addWidget(m_startPickers);
    m_startStack->addWidget(m_asap);
    m_mode = Numbered(new CComboBoxSuper(this), IdMode);
    m_mode->SetTreeLines(false);

    m_planned = amount(IdPlanned);
    m_plannedUnit = Numbered(new CReadOnlyCB(this), IdPlannedUnit);
    auto *plannedRow = new QWidget(this);
    {
        auto *layout = new QHBoxLayout(plannedRow);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_planned, 1);
        layout->addWidget(m_plannedUnit, 1);
    }
    // The computed amount lies over the editable one.
    m_plannedStack = new QStackedWidget(this);
    m_plannedStack->addWidget(plannedRow);
    m_plannedStack->addWidget(display(IdComputedPlanned));
    m_childrenLabel = label(IdChildrenLabel);
    QLineEdit *children = display(IdChildrenExpected);
    m_extraLabel = label(IdExtraLabel);
    m_extra = amount(IdExtra);
    m_extraUnit = Numbered(new CReadOnlyCB(this), IdExtraUnit);
    m_extraRow = new QWidget(this);
    {
        auto *layout = new QHBoxLayout(m_extraRow);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_extra, 1);
        layout->addWidget(m_extraUnit, 1);
    }
    m_taskCount = label(IdTaskCount);
    m_slider = Numbered(new CBitmapSlider(this), IdProgressSlider);
    m_slider->SetId(IdProgressSlider);
    m_slider->SetChannelBitmaps();
    m_slider->SetThumbBitmaps();
    m_slider->SetRange(0, 100);
    m_slider->SetMargins(2, 2, 3, 0);
    m_progress = Numbered(new QSpinBox(this), IdProgress);
    m_progress->setRange(0, 100);
    m_progress->setSuffix(QStringLiteral(" %"));
    m_expectedGauge = Numbered(new CRestant(this), IdExpectedGauge);
    m_plannedGauge = Numbered(new CRestant(this), IdPlannedGauge);
    const CConfiguration &config = configuration();
    for (CRestant *gauge : {m_expectedGauge, m_plannedGauge}) {
        gauge->SetColours(config.progressColours, config.progressMid);
        gauge->SetTextFunctions(
            [](qint64 amount, bool inDays, bool compact) {
                return configuration().FormatDurationInDays(amount, inDays, compact);
            },
            [](double ratio) { return configuration().FormatPercentDecimal(ratio); });
    }

    // The dates on the left, the amounts on the right.
    auto *dates = new QGridLayout;
    dates->addWidget(m_wishedStart, 0, 0);
    dates->addWidget(m_startStack, 0, 1);
    dates->addWidget(m_predecessors, 1, 0, 1, 2);
    dates->addWidget(m_wishedEnd, 2, 0);
    dates->addWidget(m_endPickers, 2, 1);
    dates->addWidget(m_alert, 3, 0);
    dates->addWidget(m_alertPickers, 3, 1);
    dates->addWidget(label(IdModeLabel), 4, 0);
    dates->addWidget(m_mode, 4, 1);
    dates->addWidget(m_inDays, 5, 0, 1, 2);
    dates->setRowStretch(6, 1);
    dates->setColumnStretch(1, 1);

    auto *amounts = new QGridLayout;
    int row = 0;
    amounts->addWidget(label(IdPlannedLabel), row, 0);
    amounts->addWidget(m_plannedStack, row++, 1, 1, 2);
    amounts->addWidget(m_childrenLabel, row, 0);
    amounts->addWidget(children, row++, 1, 1, 2);
    amounts->addWidget(m_extraLabel, row, 0);
    amounts->addWidget(m_extraRow, row++, 1, 1, 2);
    amounts->addWidget(label(IdDoneLabel), row, 0);
    amounts->addWidget(display(IdDone), row, 1);
    amounts->addWidget(m_taskCount, row++, 2);
    amounts->addWidget(label(IdDoneWithExtraLabel), row, 0);
    amounts->addWidget(display(IdDoneWithExtra), row++, 1);
    amounts->addWidget(label(IdExpectedLabel), row, 0);
    amounts->addWidget(display(IdExpected), row++, 1);
    amounts->addWidget(label(IdRemainingLabel), row, 0);
    amounts->addWidget(display(IdRemaining), row++, 1);
    amounts->addWidget(label(IdProgressLabel), row, 0);
    amounts->addWidget(m_slider, row, 1);
    amounts->addWidget(m_progress, row++, 2);
    amounts->addWidget(label(IdExpectedGaugeLabel), row, 0);
    amounts->addWidget(m_expectedGauge, row++, 1, 1, 2);
    amounts->addWidget(label(IdPlannedGaugeLabel), row, 0);
    amounts->addWidget(m_plannedGauge, row++, 1, 1, 2);
    amounts->setRowStretch(row, 1);
    amounts->setColumnStretch(1, 1);

    // One under the other where the page is too narrow for both.
    auto *layout = new CColumnsLayout(this, fontMetrics().averageCharWidth() * 2);
    layout->AddColumn(dates, 1);
    layout->AddColumn(amounts, 1);

    TranslateDialog(this, DialogId);
    {
        CComboBoxFiller modes(m_mode, [](int image) { return RecordEditorServices::Image(image); });
        modes.AddItem(Platform::Texts::get(601), ManualImage, 0, 0);
        modes.AddItem(Platform::Texts::get(276), AutomaticImage, 1, 0);
    }
    FillUnits(m_plannedUnit);
    FillUnits(m_extraUnit);

    auto edited = [this] { return m_node && !m_filling; };
    connect(m_startDate, &QDateEdit::dateChanged, this, [this, edited] {
        if (edited())
            OnStartChanged(false);
    });
    connect(m_startTime, &QTimeEdit::timeChanged, this, [this, edited] {
        if (edited())
            OnStartChanged(false);
    });
    connect(m_endDate, &QDateEdit::dateChanged, this, [this, edited] {
        if (edited())
            OnEndChanged();
    });
    connect(m_endTime, &QTimeEdit::timeChanged, this, [this, edited] {
        if (edited())
            OnEndChanged();
    });
    connect(m_wishedStart, &QCheckBox::clicked, this, [this] { OnStartChecks(); });
    connect(m_predecessors, &QCheckBox::clicked, this, [this] { OnStartChecks(); });
    connect(m_wishedEnd, &QCheckBox::clicked, this, [this, edited] {
        if (!edited())
            return;
        m_node->Forecast().TypeDateFin = m_wishedEnd->isChecked() ? 1 : 0;
        UpdateControlStates();
        UpdateFigures();
    });
    connect(m_alert, &QCheckBox::clicked, this, [this] { UpdateControlStates(); });
    connect(m_mode, &QComboBox::activated, this, [this, edited] {
        if (!edited())
            return;
        m_node->Forecast().bModeAuto = m_mode->currentIndex() == 1;
        UpdateControlStates();
        UpdateFigures();
    });
    connect(m_planned, &QSpinBox::valueChanged, this, [this, edited](int value) {
        if (!edited())
            return;
        m_node->Forecast().Prevu = value;
        UpdateFigures();
    });
    connect(m_plannedUnit, &QComboBox::activated, this, [this, edited] {
        if (!edited())
            return;
        m_node->Forecast().TypePrevu = UnitOf(m_plannedUnit);
        UpdateFigures();
    });
    connect(m_extra, &QSpinBox::valueChanged, this, [this, edited](int value) {
        if (!edited())
            return;
        m_node->Forecast().DureeSupp = value;
        UpdateFigures();
    });
    connect(m_extraUnit, &QComboBox::activated, this, [this, edited] {
        if (!edited())
            return;
        m_node->Forecast().TypeDureeSupp = UnitOf(m_extraUnit);
        UpdateFigures();
    });
    connect(m_inDays, &QCheckBox::clicked, this, [this, edited] {
        if (!edited())
            return;
        m_node->Forecast().bJours = m_inDays->isChecked();
        UpdateFigures();
    });
    connect(m_slider, &CBitmapSlider::moving, this, [this](int, int position) { SetProgress(position); });
    connect(m_slider, &CBitmapSlider::moved, this, [this](int, int position) { SetProgress(position); });
    connect(m_progress, &QSpinBox::valueChanged, this, [this, edited](int value) {
        if (edited() && m_progress->isEnabled())
            SetProgress(value);
    });
}

QLineEdit *CViewForecastPpal::Display(int id) const
{
    return qobject_cast<QLineEdit *>(FindControl(this, id));
}

QToolButton *CViewForecastPpal::DayButton(int id) const
{
    return qobject_cast<QToolButton *>(FindControl(this, id));
}

void CViewForecastPpal::FillUnits(CReadOnlyCB *combo)
{
    CComboBoxFiller units(combo);
    units.AddItem(Platform::Texts::get(519), -1, 1, 0);
    units.AddItem(Platform::Texts::get(520), -1, 2, 0);
}

void CViewForecastPpal::ShowUnit(CReadOnlyCB *combo, int unit)
{
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(unit == 2 ? 1 : 0);
}

int CViewForecastPpal::UnitOf(const CReadOnlyCB *combo)
{
    const int unit = RecordEditorTools::SelectedData(combo);
    return unit == -1 ? 1 : unit;
}

void CViewForecastPpal::ShowInstant(CMyDateTimeCtrl *date, QTimeEdit *time, qint64 instant)
{
    const QDateTime local = QDateTime::fromSecsSinceEpoch(instant);
    const QSignalBlocker quietDate(date);
    const QSignalBlocker quietTime(time);
    date->setDate(local.date());
    const QTime t = local.time();
    time->setTime(QTime(t.hour(), t.minute()));
}

qint64 CViewForecastPpal::Instant(const CMyDateTimeCtrl *date, const QTimeEdit *time)
{
    return QDateTime(date->date(), time->time()).toSecsSinceEpoch();
}

void CViewForecastPpal::SetProject(bool, CProject *node)
{
    m_node = node;
    m_progressSet = false;
    Fill();
}

void CViewForecastPpal::Fill()
{
    if (!m_node)
        return;
    m_filling = true;
    const tForecast &f = m_node->Forecast();
    const qint64 now = Platform::Clock::now();
    const qint64 nextWorking = configuration().NextWorkingTime(now);
    m_wishedStart->setChecked(Rules::StartIsWished(f.TypeDateDebut));
    m_predecessors->setChecked(Rules::StartFollowsPredecessors(f.TypeDateDebut));
    ShowInstant(m_startDate, m_startTime, f.DateDebut != 0 ? f.DateDebut : nextWorking);
    m_wishedEnd->setChecked(f.TypeDateFin != 0);
    ShowInstant(m_endDate, m_endTime, f.DateFin != 0 ? f.DateFin : nextWorking);
    m_alert->setChecked(f.DateAlerte != 0);
    ShowInstant(m_alertDate, m_alertTime, f.DateAlerte != 0 ? f.DateAlerte : now);
    const bool parentOfOthers = !m_node->Children().empty();
    m_mode->setCurrentIndex(parentOfOthers && f.bModeAuto ? 1 : 0);
    m_planned->setValue(qBound(0, f.Prevu, MaxAmount));
    ShowUnit(m_plannedUnit, f.TypePrevu);
    m_extra->setValue(qBound(0, f.DureeSupp, MaxAmount));
    ShowUnit(m_extraUnit, f.TypeDureeSupp);
    m_inDays->setChecked(f.bJours);
    m_filling = false;
    UpdateControlStates();
    UpdateFigures();
}

void CViewForecastPpal::StoreDates()
{
    if (!m_node)
        return;
    tForecast &f = m_node->Forecast();
    if (f.TypeDateFin != 0)
        f.DateFin = Instant(m_endDate, m_endTime);
    f.DateAlerte = m_alert->isChecked() ? Instant(m_alertDate, m_alertTime) : 0;
}

void CViewForecastPpal::MoveDay(CMyDateTimeCtrl *date, int days)
{
    // A calendar day: the same time of day, whatever the clock change.
    date->setDate(date->date().addDays(days));
}

void CViewForecastPpal::OnStartChecks()
{
    if (!m_node)
        return;
    tForecast &f = m_node->Forecast();
    const bool wasWished = Rules::StartIsWished(f.TypeDateDebut);
    f.TypeDateDebut = Rules::StartType(m_wishedStart->isChecked(), m_predecessors->isChecked());
    if (!wasWished && Rules::StartIsWished(f.TypeDateDebut) && f.DateDebut == 0)
        f.DateDebut = Instant(m_startDate, m_startTime);
    UpdateControlStates();
    UpdateFigures();
}

void CViewForecastPpal::OnStartChanged(bool figures)
{
    m_node->Forecast().DateDebut = Instant(m_startDate, m_startTime);
    if (figures)
        UpdateFigures();
}

void CViewForecastPpal::OnEndChanged()
{
    m_node->Forecast().DateFin = Instant(m_endDate, m_endTime);
    UpdateFigures();
}

void CViewForecastPpal::SetProgress(int percent)
{
    if (!m_node || m_filling)
        return;
    m_node->Forecast().Total = Rules::TotalFromProgress(percent, m_node->GetDoneWork(true));
    m_progressSet = true;
    UpdateFigures();
}

int CViewForecastPpal::ShownProgress() const
{
    return m_slider->GetPos();
}

void CViewForecastPpal::UpdateFigures()
{
    if (!m_node)
        return;
    const Rules::tFigures figures = Rules::Figures(*m_node, configuration());
    Display(IdComputedPlanned)->setText(figures.planned);
    Display(IdChildrenExpected)->setText(figures.childrenExpected);
    Display(IdDone)->setText(figures.done);
    Display(IdDoneWithExtra)->setText(figures.doneWithExtra);
    Display(IdExpected)->setText(figures.expected);
    Display(IdRemaining)->setText(figures.remaining);
    m_taskCount->setText(figures.taskCount);
    m_childrenLabel->setVisible(figures.showChildren);
    Display(IdChildrenExpected)->setVisible(figures.showChildren);

    const bool inDays = m_node->Forecast().bJours;
    m_expectedGauge->planned = figures.expectedWork;
    m_expectedGauge->used = figures.doneWork;
    m_expectedGauge->inDays = inDays;
    m_expectedGauge->update();
    m_plannedGauge->planned = figures.plannedWork;
    m_plannedGauge->used = figures.doneWork;
    m_plannedGauge->inDays = inDays;
    m_plannedGauge->update();

    const bool wasFilling = m_filling;
    m_filling = true;
    m_slider->SetPos(figures.progress);
    {
        const QSignalBlocker quiet(m_progress);
        if (m_progress->isEnabled()) {
            m_progress->setSpecialValueText(QString());
            m_progress->setValue(figures.progress);
        } else {
            // No percentage while the progress follows the children.
            m_progress->setSpecialValueText(QStringLiteral(" "));
            m_progress->setValue(0);
        }
    }
    m_filling = wasFilling;
}

void CViewForecastPpal::UpdateControlStates()
{
    if (!m_node)
        return;
    const Rules::tControlStates states = Rules::ControlStates(*m_node, m_alert->isChecked());
    m_wishedStart->setEnabled(states.wishedCheckEnabled);
    m_startStack->setVisible(states.startPickers || states.asap);
    m_startStack->setCurrentWidget(states.startPickers ? m_startPickers : static_cast<QWidget *>(m_asap));
    m_plannedStack->setCurrentIndex(states.plannedEditable ? 0 : 1);
    if (!states.progressEditable && m_slider->IsDragging())
        m_slider->releaseMouse();
    m_slider->setEnabled(states.progressEditable);
    m_progress->setEnabled(states.progressEditable);
    m_extraLabel->setVisible(states.extraRow);
    m_extraRow->setVisible(states.extraRow);
    m_endPickers->setVisible(states.endPickers);
    m_alertPickers->setVisible(states.alertPickers);
    m_mode->setEnabled(states.modeEnabled);
}
