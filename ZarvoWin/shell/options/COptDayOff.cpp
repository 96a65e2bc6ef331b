#include "COptDayOff.h"

#include "CColumnsLayout.h"
#include "CConfiguration.h"
#include "CMyDateTimeCtrl.h"
#include "COptionsContext.h"
#include "CReadOnlyCB.h"
#include "CSmallCalendar.h"
#include "Clock.h"
#include "DateTimeTyping.h"
#include "Formatter.h"
#include "OptionPageTools.h"
#include "Settings.h"
#include "TranslateWidgets.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

using namespace OptionPageTools;

namespace {
// Labels of our own in front of the two dates.
constexpr int StartLabel = 20000;
constexpr int EndLabel = 20001;
} // namespace

COptDayOff::COptDayOff(COptionsContext &context, QWidget *parent)
    : CPrefsSubDlg(DialogId, parent)
    , m_context(context)
{
    const QDate today = QDateTime::fromSecsSinceEpoch(Platform::Clock::now()).date();
    m_month = QDate(today.year(), today.month(), 1);
}

QDate COptDayOff::StepMonth(const QDate &month, int step)
{
    const QDate moved = month.addMonths(step);
    if (!moved.isValid() || moved.year() < FirstYear || moved.year() > LastYear)
        return month;
    return moved;
}

void COptDayOff::OnInitDialog()
{
    const QIcon previous = QIcon::fromTheme(QStringLiteral("go-previous"));
    const QIcon next = QIcon::fromTheme(QStringLiteral("go-next"));
    auto *before = Numbered(new QToolButton(this), PreviousMonth);
    auto *after = Numbered(new QToolButton(this), NextMonth);
    before->setIcon(previous);
    after->setIcon(next);
    before->setAutoRaise(true);
    after->setAutoRaise(true);
    m_monthCombo = Numbered(new CReadOnlyCB(this), MonthCombo);
    m_year = Numbered(new QSpinBox(this), YearSpin);
    m_year->setRange(FirstYear, LastYear);
    m_calendar = Numbered(new CSmallCalendar(this), Calendar);
    m_list = Numbered(new QListWidget(this), DaysList);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto *all = Numbered(new QPushButton(this), SelectAll);
    auto *none = Numbered(new QPushButton(this), SelectNone);
    all->setAutoDefault(false);
    none->setAutoDefault(false);
    m_delete = Numbered(new QToolButton(this), DeleteDays);
    m_delete->setIcon(QIcon::fromTheme(QStringLiteral("edit-delete")));
    auto *add = Numbered(new QToolButton(this), AddRange);
    add->setIcon(QIcon::fromTheme(QStringLiteral("list-add")));
    m_start = Numbered(new CMyDateTimeCtrl(this), StartDate);
    m_end = Numbered(new CMyDateTimeCtrl(this), EndDate);
    auto *startLabel = Numbered(new QLabel(this), StartLabel);
    auto *endLabel = Numbered(new QLabel(this), EndLabel);
    startLabel->setBuddy(m_start);
    endLabel->setBuddy(m_end);
    const QString dateFormat = m_context.Config().Locale().dateFormat(QLocale::ShortFormat);
    const QDate today = QDateTime::fromSecsSinceEpoch(Platform::Clock::now()).date();
    for (CMyDateTimeCtrl *picker : {m_start, m_end}) {
        // The other date follows a whole date only (its last part typed,
        // Enter, the field left, or "+" clicked): at each key of a date
        // being typed it would take every partial one in turn.
        picker->setKeyboardTracking(false);
        DateTimeTyping::TakeWholeDates(picker);
        picker->setDisplayFormat(dateFormat);
        picker->setDateRange(QDate(FirstYear, 1, 1), QDate(LastYear, 12, 31));
        picker->setDate(today);
    }

    auto *monthRow = new QHBoxLayout;
    monthRow->addWidget(before);
    monthRow->addWidget(m_monthCombo, 1);
    monthRow->addWidget(m_year);
    monthRow->addWidget(after);
    auto *calendarColumn = new QVBoxLayout;
    calendarColumn->addLayout(monthRow);
    calendarColumn->addWidget(m_calendar, 1);

    auto *listButtons = new QHBoxLayout;
    listButtons->addWidget(all);
    listButtons->addWidget(none);
    listButtons->addStretch(1);
    listButtons->addWidget(m_delete);
    auto *listColumn = new QVBoxLayout;
    listColumn->addWidget(m_list, 1);
    listColumn->addLayout(listButtons);

    // The list under the calendar where the page is too narrow for both.
    auto *top = new CColumnsLayout;
    top->AddColumn(calendarColumn);
    top->AddColumn(listColumn, 1);

    auto *rangeRow = new QHBoxLayout;
    rangeRow->addWidget(startLabel);
    rangeRow->addWidget(m_start);
    rangeRow->addSpacing(fontMetrics().averageCharWidth() * 2);
    rangeRow->addWidget(endLabel);
    rangeRow->addWidget(m_end);
    rangeRow->addWidget(add);
    rangeRow->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(rangeRow);

    // Tab follows the page as it reads: the month row, the calendar, the
    // list and its buttons, then the range to add.
    const QList<QWidget *> tabOrder{before, m_monthCombo, m_year, after,  m_calendar, m_list,
                                    all,    none,         m_delete, m_start, m_end,     add};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(before, &QToolButton::clicked, this, [this] { ShowMonth(StepMonth(m_month, -1)); });
    connect(after, &QToolButton::clicked, this, [this] { ShowMonth(StepMonth(m_month, 1)); });
    connect(m_monthCombo, &QComboBox::activated, this,
            [this](int entry) { ShowMonth(QDate(m_month.year(), entry + 1, 1)); });
    connect(m_year, &QSpinBox::valueChanged, this, [this](int year) { ShowMonth(QDate(year, m_month.month(), 1)); });
    connect(m_calendar, &CSmallCalendar::clicked, this, [this] { FillList(); });
    connect(m_delete, &QToolButton::clicked, this, &COptDayOff::DeleteSelected);
    connect(all, &QPushButton::clicked, this, [this] {
        m_list->selectAll();
        m_delete->setEnabled(m_list->count() > 0);
    });
    connect(none, &QPushButton::clicked, this, [this] {
        m_list->clearSelection();
        m_delete->setEnabled(false);
    });
    connect(m_list, &QListWidget::itemSelectionChanged, this, &COptDayOff::FollowSelection);
    // The two dates never cross: the one not changed follows the other,
    // once a date typed is whole (a date the field gives while a part is
    // typed is not).
    const auto startMoved = [this] {
        if (m_start->date() > m_end->date())
            m_end->setDate(m_start->date());
    };
    const auto endMoved = [this] {
        if (m_end->date() < m_start->date())
            m_start->setDate(m_end->date());
    };
    connect(m_start, &QDateEdit::dateChanged, this, [this, startMoved] {
        if (!DateTimeTyping::IsTyping(m_start))
            startMoved();
    });
    connect(m_end, &QDateEdit::dateChanged, this, [this, endMoved] {
        if (!DateTimeTyping::IsTyping(m_end))
            endMoved();
    });
    connect(m_start, &QDateEdit::editingFinished, this, startMoved);
    connect(m_end, &QDateEdit::editingFinished, this, endMoved);
    connect(add, &QToolButton::clicked, this, &COptDayOff::AddDates);

    m_days.CopyFrom(m_context.Config().daysOff);
    m_calendar->SetMarkedDays(&m_marks);
    TranslatePage();
    ShowMonth(m_month);
    m_delete->setEnabled(false);
    m_initialised = true;
}

void COptDayOff::TranslatePage()
{
    if (!IsCreated() || !m_calendar)
        return;
    TranslateDialog(this, DialogId);
    const auto &names = m_context.Config().monthNames;
    FillCombo(m_monthCombo, QStringList(names.cbegin(), names.cend()), {}, m_month.month() - 1);
    m_calendar->LoadDayNames();
    m_delete->setToolTip(Platform::Texts::get(524));
    FillList();
}

void COptDayOff::ShowMonth(const QDate &month)
{
    if (!month.isValid() || month.year() < FirstYear || month.year() > LastYear)
        return;
    m_month = QDate(month.year(), month.month(), 1);
    {
        const QSignalBlocker blockYear(m_year);
        const QSignalBlocker blockMonth(m_monthCombo);
        m_year->setValue(m_month.year());
        m_monthCombo->setCurrentIndex(m_month.month() - 1);
    }
    m_calendar->SetMonth(m_month);
    m_calendar->update();
}

void COptDayOff::FillList()
{
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    const CConfiguration &config = m_context.Config();
    const QString rangeText = Platform::Texts::get(114);
    for (int i = 0; i < m_days.GetCount(); ++i) {
        QString first, last;
        m_days.FormatRange(i, first, last,
                           [&config](const QDate &date) { return config.FormatOleDate(date, false); });
        const bool single = m_days.Ranges()[size_t(i)].start == m_days.Ranges()[size_t(i)].end;
        m_list->addItem(single ? first : Platform::Formatter::message(rangeText, {first, last}));
    }
    m_delete->setEnabled(false);
}

void COptDayOff::DeleteSelected()
{
    QList<int> rows;
    for (const QListWidgetItem *item : m_list->selectedItems())
        rows << m_list->row(item);
    if (rows.isEmpty())
        return;
    // The last first, so that the rows before keep their place.
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (const int row : rows)
        m_days.RemoveRange(row);
    FillList();
    m_calendar->update();
}

void COptDayOff::FollowSelection()
{
    m_delete->setEnabled(!m_list->selectedItems().isEmpty());
    const int caret = m_list->currentRow();
    if (caret < 0 || !m_list->item(caret)->isSelected())
        return;
    QDate first, last;
    if (m_days.GetRange(caret, first, last))
        ShowMonth(first);
}

void COptDayOff::AddDates()
{
    const QDate start = m_start->date();
    m_days.SetRange(start, m_end->date(), false);
    FillList();
    ShowMonth(start);
}

void COptDayOff::OnOK()
{
    CConfiguration &config = m_context.Config();
    config.daysOff.CopyFrom(m_days);
    Platform::Settings settings;
    config.daysOff.Save(settings);
    settings.sync();
}
