#include "COptAffichage.h"

#include "CConfiguration.h"
#include "CFormattedSpin.h"
#include "COptionsContext.h"
#include "CReadOnlyCB.h"
#include "CRangeSlider.h"
#include "Formatter.h"
#include "OptionPageTools.h"
#include "Settings.h"
#include "TranslateWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTime>
#include <QToolButton>
#include <QVBoxLayout>

using namespace OptionPageTools;

namespace {
// Controls of our own: labels and group boxes.
constexpr int FirstDayLabel = 20000;
constexpr int WeekNumberingLabel = 20001;
constexpr int WorkDaysGroup = 20002;
constexpr int PeriodsGroup = 20003;
constexpr int DayLabel = 20004;
constexpr int StartLabel = 20005;
constexpr int EndLabel = 20006;

// Weekday names, Sunday first.
const QList<Platform::TextId> weekdayTexts{108, 102, 103, 104, 105, 106, 107};
} // namespace

COptAffichage::COptAffichage(COptionsContext &context, QWidget *parent)
    : CPrefsSubDlg(DialogId, parent)
    , m_context(context)
{
}

void COptAffichage::OnInitDialog()
{
    const CConfiguration &config = m_context.Config();

    auto *top = new QGridLayout;
    m_firstDay = Numbered(new CReadOnlyCB(this), FirstDayCombo);
    m_weekNumbering = Numbered(new CReadOnlyCB(this), WeekNumberingCombo);
    auto *firstDayLabel = Numbered(new QLabel(this), FirstDayLabel);
    auto *weekLabel = Numbered(new QLabel(this), WeekNumberingLabel);
    firstDayLabel->setBuddy(m_firstDay);
    weekLabel->setBuddy(m_weekNumbering);
    top->addWidget(firstDayLabel, 0, 0);
    top->addWidget(m_firstDay, 0, 1);
    top->addWidget(weekLabel, 1, 0);
    top->addWidget(m_weekNumbering, 1, 1);
    top->setColumnStretch(2, 1);

    // The days worked, Monday first as the boxes are numbered.
    auto *workGroup = Numbered(new QGroupBox(this), WorkDaysGroup);
    auto *workRow = new QHBoxLayout(workGroup);
    // Made in the order shown, so that Tab runs along the row.
    for (int w = 1; w <= 7; ++w) {
        const int day = w % 7;
        QCheckBox *box = Numbered(new QCheckBox(workGroup), day == 0 ? int(SundayCheck) : MondayCheck + day - 1);
        m_workDays[size_t(day)] = box;
        workRow->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this] { ShowTotals(); });
    }
    workRow->addStretch(1);

    auto *periodGroup = Numbered(new QGroupBox(this), PeriodsGroup);
    m_day = Numbered(new CReadOnlyCB(periodGroup), DayCombo);
    auto *dayLabel = Numbered(new QLabel(periodGroup), DayLabel);
    dayLabel->setBuddy(m_day);
    m_follow = Numbered(new QCheckBox(periodGroup), FollowCheck);
    m_default = Numbered(new QPushButton(periodGroup), DefaultButton);
    m_default->setAutoDefault(false);

    m_slider = Numbered(new CRangeSlider(periodGroup), Slider);
    m_slider->SetId(Slider);
    m_slider->SetChannelBitmaps();
    m_slider->SetThumbBitmaps();
    m_slider->SetRange(0, 1440);
    m_slider->SetMargins(-2, 29, -2, 0);
    for (const int hour : {6, 12, 18})
        m_slider->AddScaleMark(hour * 60, config.FormatLocaleTime(QTime(hour, 0)));

    const auto makeSpin = [&](int id) {
        auto *spin = Numbered(new CFormattedSpin(periodGroup), id);
        spin->setRange(0, 1440);
        spin->SetFormat([this](int minutes) { return MinuteText(minutes); });
        return spin;
    };
    m_start = makeSpin(StartSpin);
    m_end = makeSpin(EndSpin);
    auto *startLabel = Numbered(new QLabel(periodGroup), StartLabel);
    auto *endLabel = Numbered(new QLabel(periodGroup), EndLabel);
    startLabel->setBuddy(m_start);
    endLabel->setBuddy(m_end);
    m_delete = Numbered(new QToolButton(periodGroup), DeletePeriod);
    m_delete->setIcon(QIcon::fromTheme(QStringLiteral("edit-delete")));
    m_delete->setAutoRaise(true);

    m_dayTotal = Numbered(new QLabel(periodGroup), DayTotal);
    m_notWorked = Numbered(new QLabel(periodGroup), NotWorkedIcon);
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize);
    m_notWorked->setPixmap(QIcon::fromTheme(QStringLiteral("dialog-warning")).pixmap(iconSize, iconSize));
    m_weekTotal = Numbered(new QLabel(this), WeekTotal);
    // Controls shown or hidden with the day keep their room, so that
    // nothing moves under the mouse.
    for (QWidget *w : std::initializer_list<QWidget *>{m_follow, m_default, m_delete, m_notWorked}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }

    // What a weekday adds (following the standard day, or copying it) on
    // a line under the list, which keeps the width of its longest day
    // where the page is narrow.
    auto *dayRow = new QHBoxLayout;
    dayRow->addWidget(dayLabel);
    dayRow->addWidget(m_day);
    dayRow->addStretch(1);
    auto *weekdayRow = new QHBoxLayout;
    weekdayRow->addWidget(m_follow);
    weekdayRow->addStretch(1);
    weekdayRow->addWidget(m_default);
    auto *editRow = new QHBoxLayout;
    editRow->addWidget(startLabel);
    editRow->addWidget(m_start);
    editRow->addSpacing(fontMetrics().averageCharWidth() * 2);
    editRow->addWidget(endLabel);
    editRow->addWidget(m_end);
    editRow->addWidget(m_delete);
    editRow->addStretch(1);
    auto *totalRow = new QHBoxLayout;
    totalRow->addWidget(m_dayTotal);
    totalRow->addWidget(m_notWorked);
    totalRow->addStretch(1);
    auto *periods = new QVBoxLayout(periodGroup);
    periods->addLayout(dayRow);
    periods->addLayout(weekdayRow);
    periods->addWidget(m_slider, 0, Qt::AlignHCenter);
    periods->addLayout(editRow);
    periods->addLayout(totalRow);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(workGroup);
    layout->addWidget(periodGroup);
    layout->addWidget(m_weekTotal);
    layout->addStretch(1);

    connect(m_slider, &CRangeSlider::changing, this, [this] { ShowSelection(); });
    connect(m_slider, &CRangeSlider::changed, this, [this] { ShowSelection(); });
    connect(m_start, &CFormattedSpin::valueChanged, this,
            [this](int value) { EditSelected(RangeSliderModel::SetStart, value); });
    connect(m_end, &CFormattedSpin::valueChanged, this,
            [this](int value) { EditSelected(RangeSliderModel::SetEnd, value); });
    connect(m_delete, &QToolButton::clicked, this, [this] {
        m_slider->RemoveSelectedZone();
        m_slider->update();
        ShowSelection();
    });
    connect(m_day, &QComboBox::activated, this, [this] { SwitchDay(false); });
    connect(m_follow, &QCheckBox::clicked, this, [this] { SwitchDay(true); });
    connect(m_default, &QPushButton::clicked, this, [this] {
        LoadSlider(m_editor.StandardPeriods());
        ShowSelection();
    });

    m_editor.Load(config);
    TranslatePage();
    for (int w = 0; w < 7; ++w)
        m_workDays[size_t(w)]->setChecked(config.workDays[size_t(w)]);
    SwitchDay(false);
    m_initialised = true;
    ShowSelection();
}

void COptAffichage::TranslatePage()
{
    if (!IsCreated() || !m_day)
        return;
    TranslateDialog(this, DialogId);
    const CConfiguration &config = m_context.Config();
    int firstDay = config.firstDayFromLocale ? 0 : config.firstDayOfWeek;
    int week = config.weekNumbering == 1 ? 0 : 1;
    int day = 0;
    if (m_initialised) {
        firstDay = m_firstDay->currentIndex();
        week = m_weekNumbering->currentIndex();
        day = m_day->currentIndex();
    }
    FillTextCombo(m_weekNumbering, QList<Platform::TextId>{680, 681}, {}, week);
    FillTextCombo(m_day, QList<Platform::TextId>{625} + weekdayTexts, {}, day);
    FillTextCombo(m_firstDay, QList<Platform::TextId>{635} + weekdayTexts, {}, firstDay);

    m_slider->setToolTip(Platform::Texts::get(644));
    m_delete->setToolTip(Platform::Texts::get(524));
    m_default->setToolTip(Platform::Texts::get(624));
    m_notWorked->setToolTip(Platform::Texts::get(643));
    m_start->Refresh();
    m_end->Refresh();
    ShowSelection();
}

QString COptAffichage::MinuteText(int minutes) const
{
    if (minutes >= 1440)
        return Platform::Texts::get(111);
    return m_context.Config().FormatMinutesOfDay(minutes);
}

void COptAffichage::LoadSlider(const WorkingWeekEditor::Periods &periods)
{
    m_slider->Zones().clear();
    for (const tWorkingPeriode &p : periods)
        m_slider->AppendZone(p.start, p.end);
    m_slider->ResetSelection();
    m_slider->update();
}

WorkingWeekEditor::Periods COptAffichage::SliderPeriods() const
{
    WorkingWeekEditor::Periods periods;
    for (const auto &zone : m_slider->Zones())
        periods.push_back({zone.from, zone.to});
    return periods;
}

std::array<bool, 7> COptAffichage::WorkDays() const
{
    std::array<bool, 7> days{};
    for (size_t w = 0; w < 7; ++w)
        days[w] = m_workDays[w]->isChecked();
    return days;
}

void COptAffichage::SwitchDay(bool reload)
{
    WorkingWeekEditor::DayView view;
    const int day = std::max(0, m_day->currentIndex());
    if (!m_editor.SwitchDay(day, m_follow->isChecked(), SliderPeriods(), reload, view))
        return;
    m_follow->setVisible(view.weekday);
    m_follow->setChecked(view.follows);
    m_default->setVisible(view.showDefaultButton);
    m_slider->setEnabled(view.sliderEnabled);
    LoadSlider(view.periods);
    ShowSelection();
}

void COptAffichage::EditSelected(int kind, int value)
{
    // The slider keeps the period between its neighbours; the spin shows
    // where it really went.
    if (m_slider->SetSelectedZone(kind, std::clamp(value, 0, 1440)))
        m_slider->update();
    ShowSelection();
}

void COptAffichage::ShowSelection()
{
    const int selected = m_slider->SelectedZone();
    const auto &zones = m_slider->Zones();
    const bool any = selected >= 0 && size_t(selected) < zones.size();
    {
        const QSignalBlocker startBlocker(m_start);
        const QSignalBlocker endBlocker(m_end);
        if (any) {
            m_start->setValue(zones[size_t(selected)].from);
            m_end->setValue(zones[size_t(selected)].to);
            m_start->Refresh();
            m_end->Refresh();
        } else {
            m_start->clear();
            m_end->clear();
        }
    }
    const bool editable = any && m_slider->isEnabled();
    m_start->setEnabled(editable);
    m_end->setEnabled(editable);
    m_delete->setVisible(editable);
    ShowTotals();
}

void COptAffichage::ShowTotals()
{
    const CConfiguration &config = m_context.Config();
    const WorkingWeekEditor::Totals totals = m_editor.ComputeTotals(WorkDays(), SliderPeriods());
    m_dayTotal->setText(
        Platform::Formatter::sprintf(Platform::Texts::get(523), {config.FormatDuration(totals.daySeconds, true)}));
    m_notWorked->setVisible(totals.notWorked);
    m_weekTotal->setText(
        Platform::Formatter::sprintf(Platform::Texts::get(631), {config.FormatDuration(totals.weekSeconds, true)}));
}

void COptAffichage::OnOK()
{
    const WorkingWeekEditor::Result result =
        m_editor.Finish(m_firstDay->currentIndex(), m_weekNumbering->currentIndex(), WorkDays(),
                        m_follow->isChecked(), SliderPeriods(), m_context.SystemLocale());
    Platform::Settings settings;
    WorkingWeekEditor::Apply(result, m_context.Config(), settings);
}
