#include "CDlgInsertion.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "CEditReadOnly.h"
#include "CMyStatic.h"
#include "ContextHelp.h"
#include "CTranslationStore.h"
#include "CViewAnimInsert.h"
#include "DialogAnswers.h"
#include "Formatter.h"
#include "InsertDiagram.h"
#include "LocalTime.h"
#include "EntryDialogWidgets.h"
#include "Texts.h"
#include "TextFormatFlags.h"
#include "TimeEntryOverlap.h"
#include "TranslateWidgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The heading's colour (0x00BBGGRR) on white.
constexpr quint32 HeadingColour = 0xCB470E;
constexpr quint32 White = 0xFFFFFF;


} // namespace

CDlgInsertion::CDlgInsertion(bool showApplyBox, QWidget *parent)
    : QDialog(parent)
    , m_showApplyBox(showApplyBox)
{
    m_boldFont = font();
    m_boldFont.setWeight(QFont::Bold);
    m_largeFont = font();
    if (m_largeFont.pointSizeF() > 0)
        m_largeFont.setPointSizeF(m_largeFont.pointSizeF() * 1.5);
    else
        m_largeFont.setPixelSize(m_largeFont.pixelSize() * 3 / 2);
    m_largeFont.setWeight(QFont::Normal);

    BuildControls();
    TranslateDialog(this, DialogId);
    ContextHelp::Install(this, DialogId);
    // The arrows show their pictures; their texts become their tooltips.
    for (QToolButton *arrow : {m_previous, m_next})
        arrow->setToolTip(arrow->text());
    {
        CTranslationStore texts;
        m_heading->SetText(texts.GetDialogString(DialogId, IdHeading));
    }
    m_applyBox->setVisible(m_showApplyBox);

    m_timer = new QTimer(this);
    m_timer->setInterval(AnimationInterval);
    m_timer->setObjectName(QString::number(AnimationTimer));
    connect(m_timer, &QTimer::timeout, this, &CDlgInsertion::AdvanceAnimation);
    ShowEntry(0);
}

CDlgInsertion::~CDlgInsertion() = default;

void CDlgInsertion::BuildControls()
{
    // Every control and the dialog itself on white.
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    m_heading = Numbered(new CMyStatic(this), IdHeading);
    m_heading->SetOwnFont(m_largeFont);
    m_heading->SetTextColor(HeadingColour);
    m_heading->SetBkColor(White);
    m_heading->SetTextFormat(TextFormatFlags::SingleLine | TextFormatFlags::Middle | TextFormatFlags::EndEllipsis);
    m_heading->setMinimumHeight(QFontMetrics(m_largeFont).height() + 6);

    auto *group = Numbered(new QGroupBox(this), IdInformation);
    auto boldLabel = [&](int id) {
        QLabel *label = Numbered(new QLabel(group), id);
        label->setFont(m_boldFont);
        return label;
    };
    auto field = [&](int id) {
        CEditReadOnly *edit = Numbered(new CEditReadOnly(group), id);
        edit->setReadOnly(true);
        return edit;
    };
    m_projectName = field(IdProjectName);
    m_activityName = field(IdActivityName);
    m_start = field(IdStart);
    m_end = field(IdEnd);
    m_counter = field(IdCounter);
    m_counter->setAlignment(Qt::AlignCenter);
    m_counter->setFixedWidth(m_counter->fontMetrics().horizontalAdvance(QStringLiteral(" 888 / 888 ")) + 8);
    m_counter->setFocusPolicy(Qt::NoFocus);
    m_previous = Numbered(new QToolButton(group), IdPrevious);
    m_previous->setIcon(ThemeIcon("go-previous"));
    m_next = Numbered(new QToolButton(group), IdNext);
    m_next->setIcon(ThemeIcon("go-next"));
    for (QToolButton *arrow : {m_previous, m_next})
        arrow->setAutoRaise(true);

    auto *grid = new QGridLayout(group);
    grid->setColumnStretch(1, 1);
    grid->addWidget(boldLabel(IdProjectLabel), 0, 0);
    grid->addWidget(m_projectName, 0, 1, 1, 2);
    grid->addWidget(boldLabel(IdActivityLabel), 1, 0);
    grid->addWidget(m_activityName, 1, 1, 1, 2);
    grid->addWidget(boldLabel(IdStartLabel), 2, 0);
    grid->addWidget(m_start, 2, 1);
    grid->addWidget(boldLabel(IdEndLabel), 3, 0);
    grid->addWidget(m_end, 3, 1);
    auto *stepper = new QHBoxLayout;
    stepper->addWidget(m_previous);
    stepper->addWidget(m_counter);
    stepper->addWidget(m_next);
    grid->addLayout(stepper, 3, 2, Qt::AlignRight);

    auto *prompt = Numbered(new QLabel(this), IdPrompt);
    prompt->setWordWrap(true);
    m_othersGiveWay = Numbered(new CViewAnimInsert(this), IdOthersGiveWay);
    m_fitIntoFreeTime = Numbered(new CViewAnimInsert(this), IdFitIntoFreeTime);
    for (CViewAnimInsert *choice : {m_othersGiveWay, m_fitIntoFreeTime})
        choice->SetLargeFont(m_largeFont);
    m_consequence = new QLabel(this);
    m_consequence->setObjectName(QStringLiteral("consequence"));
    m_consequence->setWordWrap(true);
    m_applyBox = Numbered(new QCheckBox(this), IdApplyToNext);
    auto *cancel = Numbered(new QPushButton(this), IdCancel);
    cancel->setAutoDefault(false);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_applyBox);
    bottom->addStretch(1);
    bottom->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(group);
    layout->addWidget(prompt);
    layout->addWidget(m_othersGiveWay, 1);
    layout->addWidget(m_consequence);
    layout->addWidget(m_fitIntoFreeTime, 1);
    ContextHelp::AddButton(bottom, this);
    layout->addLayout(bottom);

    setTabOrder(m_othersGiveWay, m_fitIntoFreeTime);
    setTabOrder(m_fitIntoFreeTime, m_previous);
    setTabOrder(m_previous, m_next);
    setTabOrder(m_next, m_applyBox);
    setTabOrder(m_applyBox, cancel);

    connect(m_next, &QToolButton::clicked, this, &CDlgInsertion::ShowNext);
    connect(m_previous, &QToolButton::clicked, this, &CDlgInsertion::ShowPrevious);
    connect(m_othersGiveWay, &QAbstractButton::clicked, this, [this] { Choose(OthersGiveWay); });
    connect(m_fitIntoFreeTime, &QAbstractButton::clicked, this, [this] { Choose(FitIntoFreeTime); });
    connect(m_applyBox, &QCheckBox::clicked, this, [this](bool checked) { m_applyToNext = checked; });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CDlgInsertion::SetEntries(const std::vector<tTacheFull> &entries)
{
    m_entries = entries;
    std::vector<tTacheFull> others;
    if (!m_entries.empty())
        others.assign(m_entries.begin() + 1, m_entries.end());
    m_othersGiveWay->Initialise(InsertDiagram::OthersGiveWay, m_entries, true);
    const bool gap = !m_entries.empty() && TimeEntryOverlap::LongestFreeGap(m_entries.front(), others).has_value();
    m_fitIntoFreeTime->Initialise(InsertDiagram::FitIntoFreeTime, m_entries, gap);
    // A running entry makes every later entry give way: the counts tell it
    // before the click.
    TimeEntryOverlap::tOverwritePlan plan;
    if (!m_entries.empty())
        plan = TimeEntryOverlap::PlanOverwrite(m_entries.front(), others);
    const int shortened = int(plan.cut.size() + plan.moved.size() + plan.split.size());
    m_consequence->setText(
        Platform::Formatter::message(Platform::Texts::get(20100), {int(plan.deleted.size()), shortened}));
    ShowEntry(0);
}

QString CDlgInsertion::OthersGiveWayConsequence() const
{
    return m_consequence->text();
}

void CDlgInsertion::SetDatabasePath(const QString &path)
{
    m_databasePath = path;
    ShowEntry(m_current);
}

int CDlgInsertion::exec()
{
    if (DialogAnswers<CDlgInsertion> *answers = DialogAnswers<CDlgInsertion>::Active())
        return answers->Answer(*this);
    return QDialog::exec();
}

void CDlgInsertion::ShowEntry(int index)
{
    m_current = index;
    if (index < 0 || index >= Count()) {
        for (CEditReadOnly *edit : {m_counter, m_projectName, m_activityName, m_start, m_end})
            edit->clear();
    } else {
        const tTacheFull &entry = m_entries[size_t(index)];
        m_counter->setText(Platform::Formatter::sprintf(u"%d / %d", {index + 1, Count()}));
        QString project;
        QString activity;
        if (m_databasePath.isEmpty()) {
            CBdD db;
            db.GetElementNames(entry.IdProjet, entry.IdActivite, project, activity);
        } else {
            CBdD db(m_databasePath, CBdD::ReadOnly);
            db.GetElementNames(entry.IdProjet, entry.IdActivite, project, activity);
        }
        m_projectName->setText(project);
        m_activityName->setText(activity);
        m_start->setText(EntryDateTimeText(entry.Debut));
        m_end->setText(entry.Fin == 0 ? Platform::Texts::get(252) : EntryDateTimeText(entry.Fin));
    }
    for (CViewAnimInsert *choice : {m_othersGiveWay, m_fitIntoFreeTime})
        choice->SetHighlighted(index);
}

void CDlgInsertion::ShowNext()
{
    ShowEntry(m_current + 1 < Count() ? m_current + 1 : 0);
}

void CDlgInsertion::ShowPrevious()
{
    ShowEntry(m_current - 1 >= 0 ? m_current - 1 : Count() - 1);
}

void CDlgInsertion::AdvanceAnimation()
{
    m_othersGiveWay->Advance();
    m_fitIntoFreeTime->Advance();
}

void CDlgInsertion::Choose(int method)
{
    if (method == FitIntoFreeTime && !m_fitIntoFreeTime->IsAvailable())
        return;
    m_method = method;
    accept();
}

QWidget *CDlgInsertion::Control(int id) const
{
    return FindControl(this, id);
}

CViewAnimInsert *CDlgInsertion::ChoiceButton(int method) const
{
    return method == FitIntoFreeTime ? m_fitIntoFreeTime : m_othersGiveWay;
}

int CDlgInsertion::Ask(const std::vector<tTacheFull> &entries, QWidget *parent, const QString &databasePath)
{
    CDlgInsertion dialog(false, parent);
    dialog.SetEntries(entries);
    if (!databasePath.isEmpty())
        dialog.SetDatabasePath(databasePath);
    return dialog.exec() == QDialog::Accepted ? dialog.Method() : -1;
}

void CDlgInsertion::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_othersGiveWay->setFocus();
    m_timer->start();
}

void CDlgInsertion::hideEvent(QHideEvent *event)
{
    m_timer->stop();
    QDialog::hideEvent(event);
}
