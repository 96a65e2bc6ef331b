#include "CDlgTask.h"
#include "ContextHelp.h"
#include "UiUtilities.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CComboBoxSuper.h"
#include "CConfiguration.h"
#include "CDlgInsertion.h"
#include "CEditReadOnly.h"
#include "CMyDateTimeCtrl.h"
#include "CProjectStore.h"
#include "CReadOnlyCB.h"
#include "CTransparentImage.h"
#include "CWaitCursor.h"
#include "Clock.h"
#include "DateTimeTyping.h"
#include "DialogAnswers.h"
#include "EntryDialogRules.h"
#include "EntryDialogServices.h"
#include "LocalTime.h"
#include "EntryDialogWidgets.h"
#include "Formatter.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "WriteFailureBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <iterator>
#include <vector>

namespace {

// The date and time formats of the pickers: the configured ones, so the
// dialog writes dates as the calendar and the toolbar do, whatever the
// system's locale.
QString PickerDateFormat()
{
    if (const CConfiguration *config = CAppData::Configuration())
        return config->Locale().dateFormat(QLocale::ShortFormat);
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

QString PickerTimeFormat()
{
    if (const CConfiguration *config = CAppData::Configuration())
        return config->GetTimeFormatWithSeconds();
    QString format = QLocale::system().timeFormat(QLocale::ShortFormat);
    if (!format.contains(u's')) {
        const qsizetype minutes = format.lastIndexOf(QStringLiteral("mm"));
        if (minutes >= 0)
            format.insert(minutes + 2, QStringLiteral(":ss"));
    }
    return format;
}

void ShowInstant(CMyDateTimeCtrl *date, QTimeEdit *time, qint64 instant)
{
    const QDateTime local = Platform::LocalTime::toLocal(instant);
    const QSignalBlocker blockDate(date);
    const QSignalBlocker blockTime(time);
    date->setDate(local.date());
    time->setTime(local.time());
}

// The instant the pickers show; `current` when they still show it, so an
// hour the autumn change repeats keeps the instant it had.
qint64 PickedInstant(const CMyDateTimeCtrl *date, const QTimeEdit *time, qint64 current)
{
    const QDateTime shown = Platform::LocalTime::toLocal(current);
    if (current != 0 && shown.date() == date->date() && shown.time() == time->time())
        return current;
    return EntryDialogRules::LocalInstant(date->date(), time->time());
}


// Swallows the clicks and keys of a control that only shows a value.
class InputEater : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return true;
        default:
            return false;
        }
    }
};

} // namespace

CDlgTask::CDlgTask(int mode, const tTacheFull *entry, QWidget *parent)
    : QDialog(parent)
    , m_mode(mode == DeleteMode ? DeleteMode : EditMode)
{
    if (entry) {
        m_entry = *entry;
    } else {
        m_entry.Debut = Platform::Clock::now();
        m_entry.Fin = 0;
    }
    m_hasEnd = m_entry.Fin != 0;
    m_hadEnd = m_hasEnd;
    BuildControls();
    TranslateDialog(this, DialogId);
    ContextHelp::Install(this, DialogId);

    // Both start pickers show the start; the end pickers show the end, or
    // now for a running entry, ready for when it gets one.
    ShowInstant(m_startDate, m_startTime, m_entry.Debut);
    ShowInstant(m_endDate, m_endTime, m_hasEnd ? m_entry.Fin : Platform::Clock::now());
    ShowEndGroup(m_hasEnd);

    m_combos.FillProjects(m_entry.IdProjet);
    m_combos.FillActivities(m_entry.IdActivite);
    m_combos.FillRates(m_entry.IdTauxHoraire);
    // A record deleted meanwhile shows as "none", and that is what OK stores.
    m_entry.IdProjet = m_combos.ProjectId();
    m_entry.IdActivite = m_combos.ActivityId();
    m_entry.IdTauxHoraire = m_combos.RateId();

    m_title->setText(m_entry.Title);
    m_notes->setPlainText(m_entry.Notes);
    m_invoiced->setChecked(m_entry.Facture != 0);

    ApplyMode();
    UpdateState(false);

    // The stored row as it is now, to tell at OK whether it changed under
    // the dialog.
    if (m_mode == EditMode && m_entry.Id != -1) {
        CBdD db;
        bool failed = true;
        m_readLive = db.GetTimeEntry(m_read, m_entry.Id, &failed);
        m_rowRead = !failed;
    }
}

CDlgTask::CDlgTask(const tTacheFull *entry, QWidget *parent)
    : CDlgTask(EditMode, entry, parent)
{
}

CDlgTask::~CDlgTask() = default;

int CDlgTask::exec()
{
    if (DialogAnswers<CDlgTask> *answers = DialogAnswers<CDlgTask>::Active())
        return answers->Answer(*this);
    return QDialog::exec();
}

QWidget *CDlgTask::Control(int id) const
{
    return FindControl(this, id);
}

void CDlgTask::BuildControls()
{
    auto label = [this](int id) { return Numbered(new QLabel(this), id); };
    auto button = [this](int id) {
        QPushButton *b = Numbered(new QPushButton(this), id);
        b->setAutoDefault(false);
        return b;
    };
    auto readOnly = [this](int id) {
        CEditReadOnly *edit = Numbered(new CEditReadOnly(this), id);
        edit->setReadOnly(true);
        return edit;
    };

    // The question band of delete mode.
    m_questionIcon = MakeQuestionIcon(this);
    m_questionText = label(IdQuestionText);
    m_questionText->setWordWrap(true);
    auto *question = new QHBoxLayout;
    question->addWidget(m_questionIcon, 0, Qt::AlignTop);
    question->addWidget(m_questionText, 1);

    m_project = Numbered(new CComboBoxSuper(this), IdProject);
    m_activity = Numbered(new CReadOnlyCB(this), IdActivity);
    m_rate = Numbered(new CReadOnlyCB(this), IdRate);
    m_combos = EntryRecordCombos(m_project, m_activity, m_rate);
    SetUpRecordCombos(m_project, m_activity, m_rate);
    m_addProject = button(IdAddProject);
    m_addActivity = button(IdAddActivity);
    m_addRate = button(IdAddRate);
    m_projectName = readOnly(IdProjectName);
    m_activityName = readOnly(IdActivityName);
    m_rateName = readOnly(IdRateName);

    m_startDate = Numbered(new CMyDateTimeCtrl(this), IdStartDate);
    m_startTime = Numbered(new QTimeEdit(this), IdStartTime);
    m_endDate = Numbered(new CMyDateTimeCtrl(this), IdEndDate);
    m_endTime = Numbered(new QTimeEdit(this), IdEndTime);
    for (CMyDateTimeCtrl *date : {m_startDate, m_endDate})
        date->setDisplayFormat(PickerDateFormat());
    for (QTimeEdit *time : {m_startTime, m_endTime}) {
        time->setDisplayFormat(PickerTimeFormat());
        DateTimeTyping::Install(time);
    }
    m_startNow = button(IdStartNow);
    m_endNow = button(IdEndNow);
    m_makeRunning = button(IdMakeRunning);
    m_giveEnd = button(IdGiveEnd);
    m_runningText = label(IdRunningText);
    m_startText = readOnly(IdStartText);
    m_endText = readOnly(IdEndText);

    m_invoiced = Numbered(new QCheckBox(this), IdInvoiced);
    // The text stands before the box, as the labels of the other fields.
    m_invoiced->setLayoutDirection(Qt::RightToLeft);
    m_title = Numbered(new CEditReadOnly(this), IdTitle);
    m_notes = Numbered(new QPlainTextEdit(this), IdNotes);
    m_notes->setTabChangesFocus(true);
    m_notes->setMinimumHeight(m_notes->fontMetrics().lineSpacing() * 4);

    m_noRecordWarning = MakeWarningImage(this, IdNoRecordWarning, 370);
    m_endWarning = MakeWarningImage(this, IdEndWarning, 371);

    m_ok = Numbered(new QPushButton(this), IdOk);
    m_ok->setDefault(true);
    m_cancel = button(IdCancel);
    m_delete = button(IdDelete);
    m_delete->setIcon(ThemeIcon("edit-delete"));

    // Fields in a grid: label, then the field with its button at the
    // right, then the warning.
    auto *grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    auto fieldRow = [&](int row, int labelId, std::initializer_list<QWidget *> fields, int stretchAt) {
        grid->addWidget(label(labelId), row, 0);
        auto *box = new QHBoxLayout;
        int index = 0;
        for (QWidget *field : fields) {
            if (index++ == stretchAt)
                box->addStretch(1);
            box->addWidget(field);
        }
        grid->addLayout(box, row, 1);
    };
    // A combo, or its name in delete mode, takes the free width.
    fieldRow(0, IdProjectLabel, {m_project, m_projectName, m_addProject}, -1);
    fieldRow(1, IdActivityLabel, {m_activity, m_activityName, m_addActivity}, -1);
    fieldRow(2, IdRateLabel, {m_rate, m_rateName, m_addRate}, -1);
    for (QWidget *w : std::initializer_list<QWidget *>{m_project, m_activity, m_rate, m_projectName, m_activityName,
                                                       m_rateName, m_startText, m_endText})
        w->setSizePolicy(QSizePolicy::Expanding, w->sizePolicy().verticalPolicy());
    fieldRow(3, IdStartLabel, {m_startDate, m_startTime, m_startText, m_startNow}, 3);
    fieldRow(4, IdEndLabel, {m_endDate, m_endTime, m_makeRunning, m_runningText, m_giveEnd, m_endText, m_endNow}, 6);
    grid->addWidget(m_noRecordWarning, 0, 2, 2, 1, Qt::AlignVCenter);
    grid->addWidget(m_endWarning, 4, 2);
    grid->addWidget(m_invoiced, 5, 0, Qt::AlignLeft);
    grid->addWidget(label(IdTitleLabel), 6, 0);
    grid->addWidget(m_title, 6, 1);
    grid->addWidget(label(IdNotesLabel), 7, 0, Qt::AlignTop);
    grid->addWidget(m_notes, 7, 1);
    grid->setRowStretch(7, 1);

    auto *buttons = ButtonRow({m_delete, m_ok, m_cancel});

    ContextHelp::AddButton(buttons, this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(question);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    // The keyboard goes through the fields row by row.
    QWidget *order[] = {m_project,   m_addProject, m_activity, m_addActivity, m_rate,     m_addRate,
                        m_startDate, m_startTime,  m_startNow, m_endDate,     m_endTime,  m_makeRunning,
                        m_giveEnd,   m_endNow,     m_invoiced, m_title,       m_notes,    m_delete,
                        m_ok,        m_cancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_project, &QComboBox::activated, this, [this] { OnProjectSelected(); });
    connect(m_activity, &QComboBox::activated, this, [this] { OnActivitySelected(); });
    connect(m_rate, &QComboBox::activated, this, [this] { OnRateSelected(); });
    connect(m_addProject, &QPushButton::clicked, this, [this] { OnAddProject(); });
    connect(m_addActivity, &QPushButton::clicked, this, [this] { OnAddActivity(); });
    connect(m_addRate, &QPushButton::clicked, this, [this] { OnAddRate(); });
    for (CMyDateTimeCtrl *date : {m_startDate, m_endDate})
        connect(date, &QDateEdit::dateChanged, this, [this] { UpdateState(true); });
    for (QTimeEdit *time : {m_startTime, m_endTime})
        connect(time, &QTimeEdit::timeChanged, this, [this] { UpdateState(true); });
    connect(m_startNow, &QPushButton::clicked, this, [this] {
        ShowInstant(m_startDate, m_startTime, Platform::Clock::now());
        UpdateState(true);
    });
    connect(m_endNow, &QPushButton::clicked, this, [this] {
        ShowInstant(m_endDate, m_endTime, Platform::Clock::now());
        UpdateState(true);
    });
    connect(m_giveEnd, &QPushButton::clicked, this, [this] { OnGiveEnd(); });
    connect(m_makeRunning, &QPushButton::clicked, this, [this] { OnMakeRunning(); });
    connect(m_ok, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_delete, &QPushButton::clicked, this, [this] { OnDelete(); });
}

void CDlgTask::ShowEndGroup(bool hasEnd)
{
    m_hasEnd = hasEnd;
    const bool edit = m_mode == EditMode;
    const std::initializer_list<QWidget *> withEnd{m_endDate, m_endTime, m_makeRunning, m_endNow};
    const std::initializer_list<QWidget *> running{m_runningText, m_giveEnd};
    // What goes away first: a layout that saw both states at once would
    // widen the dialog for good.
    for (QWidget *w : hasEnd && edit ? running : withEnd)
        w->setVisible(false);
    if (!edit) {
        for (QWidget *w : running)
            w->setVisible(false);
        return;
    }
    for (QWidget *w : hasEnd ? withEnd : running)
        w->setVisible(true);
}

void CDlgTask::ApplyMode()
{
    const bool edit = m_mode == EditMode;
    const EntryDialogServices &services = EntryDialogServices::Registered();
    const std::initializer_list<QWidget *> editing{m_project, m_activity, m_rate, m_addProject, m_addActivity,
                                                   m_addRate, m_startDate, m_startTime, m_startNow, m_ok};
    const std::initializer_list<QWidget *> deleting{m_questionIcon, m_questionText, m_projectName, m_activityName,
                                                    m_rateName, m_startText, m_endText, m_delete};
    for (QWidget *w : edit ? deleting : editing)
        w->setVisible(false);
    for (QWidget *w : edit ? editing : deleting)
        w->setVisible(true);
    // The start's "Maintenant" only for an entry that had an end.
    m_startNow->setVisible(edit && m_hadEnd);
    m_addProject->setEnabled(bool(services.newProject));
    m_addActivity->setEnabled(bool(services.newActivity));
    m_addRate->setEnabled(bool(services.newRate));
    ShowEndGroup(m_hasEnd);
    if (edit) {
        m_ok->setDefault(true);
        m_project->setFocus();
        return;
    }
    m_projectName->setText(m_project->currentText());
    m_activityName->setText(m_activity->currentText());
    m_rateName->setText(m_rate->currentText());
    m_startText->setText(EntryDateTimeText(m_entry.Debut));
    m_endText->setText(m_entry.Fin == 0 ? Platform::Texts::get(252) : EntryDateTimeText(m_entry.Fin));
    m_title->setReadOnly(true);
    m_notes->setReadOnly(true);
    // No warnings in delete mode: their column goes.
    for (QWidget *warning : {static_cast<QWidget *>(m_noRecordWarning), static_cast<QWidget *>(m_endWarning)}) {
        QSizePolicy policy = warning->sizePolicy();
        policy.setRetainSizeWhenHidden(false);
        warning->setSizePolicy(policy);
    }
    // The invoiced box shows the flag and takes no click.
    m_invoiced->installEventFilter(new InputEater(m_invoiced));
    m_invoiced->setFocusPolicy(Qt::NoFocus);
    m_ok->setDefault(false);
    m_delete->setDefault(true);
    m_delete->setFocus();
}

void CDlgTask::UpdateState(bool readPickers)
{
    if (readPickers) {
        m_entry.Debut = PickedInstant(m_startDate, m_startTime, m_entry.Debut);
        m_entry.Fin = m_hasEnd ? PickedInstant(m_endDate, m_endTime, m_entry.Fin) : 0;
    }
    const EntryDialogRules::tTaskState state = EntryDialogRules::TaskState(
        m_combos.ProjectId(), m_combos.ActivityId(), m_entry.Debut, m_entry.Fin, m_hasEnd);
    const bool edit = m_mode == EditMode;
    m_noRecordWarning->setVisible(edit && state.noRecordWarning);
    m_endWarning->setVisible(edit && state.endWarning);
    m_ok->setEnabled(state.okEnabled);
}

void CDlgTask::OnProjectSelected()
{
    m_entry.IdProjet = m_combos.ProjectId();
    if (m_combos.ApplyProjectRule(m_entry.IdProjet, true))
        m_entry.IdActivite = m_combos.ActivityId();
    m_entry.IdTauxHoraire = m_combos.RateId();
    UpdateState(false);
}

void CDlgTask::OnActivitySelected()
{
    m_entry.IdActivite = m_combos.ActivityId();
    m_combos.ApplyActivityRule(m_entry.IdActivite);
    m_entry.IdTauxHoraire = m_combos.RateId();
    UpdateState(false);
}

void CDlgTask::OnRateSelected()
{
    m_entry.IdTauxHoraire = m_combos.RateId();
}

void CDlgTask::OnAddProject()
{
    const EntryDialogServices &services = EntryDialogServices::Registered();
    if (!services.newProject)
        return;
    const int id = services.newProject();
    if (id != -1)
        m_entry.IdProjet = id;
    m_combos.FillRates(m_entry.IdTauxHoraire);
    m_combos.FillProjects(m_entry.IdProjet);
    m_entry.IdProjet = m_combos.ProjectId();
    if (m_combos.ApplyProjectRule(m_entry.IdProjet, true))
        m_entry.IdActivite = m_combos.ActivityId();
    m_entry.IdTauxHoraire = m_combos.RateId();
    UpdateState(true);
}

void CDlgTask::OnAddActivity()
{
    const EntryDialogServices &services = EntryDialogServices::Registered();
    if (!services.newActivity)
        return;
    const int id = services.newActivity();
    if (id != -1)
        m_entry.IdActivite = id;
    m_combos.FillRates(m_entry.IdTauxHoraire);
    m_combos.FillActivities(m_entry.IdActivite);
    m_entry.IdActivite = m_combos.ActivityId();
    m_combos.ApplyActivityRule(m_entry.IdActivite);
    m_entry.IdTauxHoraire = m_combos.RateId();
    UpdateState(true);
}

void CDlgTask::OnAddRate()
{
    const EntryDialogServices &services = EntryDialogServices::Registered();
    if (!services.newRate)
        return;
    const int id = services.newRate();
    if (id != -1)
        m_entry.IdTauxHoraire = id;
    m_combos.FillRates(m_entry.IdTauxHoraire);
    m_entry.IdTauxHoraire = m_combos.RateId();
}

void CDlgTask::OnGiveEnd()
{
    ShowInstant(m_endDate, m_endTime, EntryDialogRules::ProposedEnd(m_entry.Debut, Platform::Clock::now()));
    m_entry.Fin = 0; // read from the pickers below
    ShowEndGroup(true);
    UpdateState(true);
    m_endTime->setFocus();
}

void CDlgTask::OnMakeRunning()
{
    ShowEndGroup(false);
    UpdateState(true);
    m_giveEnd->setFocus();
}

void CDlgTask::OnOk()
{
    if (m_mode != EditMode || !m_ok->isEnabled())
        return;
    m_entry.Facture = m_invoiced->isChecked() ? 1 : 0;
    m_entry.Title = m_title->text();
    m_entry.Notes = m_notes->toPlainText();
    switch (CheckChangedMeanwhile()) {
    case ChangedMeanwhile::Choice::Back: return;
    case ChangedMeanwhile::Choice::KeepStored: EndWithStored(); return;
    case ChangedMeanwhile::Choice::KeepMine: break;
    }
    switch (StoreEntry()) {
    case Stored::Written: accept(); break;
    case Stored::KeptStored: EndWithStored(); break;
    case Stored::NotWritten: break;
    }
}

void CDlgTask::EndWithStored()
{
    // Nothing is written: the stored entry is given back, or none when it
    // was deleted.
    if (m_readLive)
        accept();
    else
        reject();
}

QString CDlgTask::VersionText(const tTacheFull &entry, const tTacheFull &other, bool withRecords) const
{
    using EntryDialogRules::NeedsSeconds;
    const std::vector<qint64> shown{entry.Debut, entry.Fin, other.Debut, other.Fin};
    const QString start = EntryDateTimeText(entry.Debut, NeedsSeconds(entry.Debut, shown));
    const QString end =
        entry.Fin == 0 ? Platform::Texts::get(252) : EntryDateTimeText(entry.Fin, NeedsSeconds(entry.Fin, shown));
    if (!withRecords)
        return Platform::Formatter::sprintf(Platform::Texts::get(TextVersion), {start, end});
    QStringList parts;
    if (const CProjectStore *store = CAppData::ProjectStore()) {
        if (entry.IdProjet != -1)
            parts << store->GetNodeFullName(entry.IdProjet, -2);
        if (entry.IdActivite != -1)
            parts << store->GetActivityName(entry.IdActivite);
        if (const tRate *rate = entry.IdTauxHoraire != -1 ? store->GetRate(entry.IdTauxHoraire) : nullptr)
            parts << rate->Nom;
    }
    parts << entry.Title;
    parts.removeAll(QString());
    return Platform::Formatter::sprintf(Platform::Texts::get(TextVersionWithRecords),
                                        {start, end, parts.join(QStringLiteral(" / "))});
}

ChangedMeanwhile::Choice CDlgTask::CheckChangedMeanwhile()
{
    using ChangedMeanwhile::Choice;
    if (!m_rowRead)
        return Choice::KeepMine;
    // The whole row, not its stamp alone: two writes within one second
    // leave the same stamp.
    tTacheFull stored;
    bool live = false;
    {
        CBdD db;
        bool failed = true;
        live = db.GetTimeEntry(stored, m_entry.Id, &failed);
        // A read that fails is left to the write, which tells it.
        if (failed)
            return Choice::KeepMine;
    }
    if (live == m_readLive && (!live || stored == m_read))
        return Choice::KeepMine;
    Choice choice = Choice::Back;
    if (live) {
        const bool records = stored.IdProjet != m_entry.IdProjet || stored.IdActivite != m_entry.IdActivite
            || stored.IdTauxHoraire != m_entry.IdTauxHoraire || stored.Title != m_entry.Title;
        choice = ChangedMeanwhile::Ask(this,
                                       Platform::Formatter::sprintf(Platform::Texts::get(TextChanged),
                                                                    {VersionText(stored, m_entry, records),
                                                                     VersionText(m_entry, stored, records)}),
                                       TextChangedButtons);
    } else {
        choice = ChangedMeanwhile::AskDeleted(
            this, Platform::Formatter::sprintf(Platform::Texts::get(TextDeleted),
                                               {VersionText(m_entry, m_entry, false)}));
    }
    if (choice == Choice::Back)
        return choice;
    // Decided on: the next check asks only when the row changes again
    // (the overlap question cancelled, then OK once more).
    m_read = stored;
    m_readLive = live;
    if (choice == Choice::KeepStored && live)
        m_entry = stored;
    return choice;
}

CDlgTask::Stored CDlgTask::StoreEntry()
{
    // The working copy keeps what the user entered until a write landed.
    tTacheFull record = m_entry;
    std::vector<tTacheFull> overlaps;
    bool free = false;
    {
        CBdD db;
        free = db.FindOverlappingEntries(record, overlaps);
    }
    if (!free && overlaps.empty()) {
        // The overlaps could not be read: nothing is written.
        ShowEntryWriteFailure(this);
        return Stored::NotWritten;
    }
    bool stored = false;
    if (free) {
        const CWaitCursor wait;
        CBdD db;
        stored = db.SaveTimeEntry(record);
    } else {
        CDlgInsertion question(false, this);
        question.SetEntries(overlaps);
        if (question.exec() != QDialog::Accepted)
            return Stored::NotWritten;
        // The question may have stayed open while the other program wrote
        // the entry.
        switch (CheckChangedMeanwhile()) {
        case ChangedMeanwhile::Choice::Back: return Stored::NotWritten;
        case ChangedMeanwhile::Choice::KeepStored: return Stored::KeptStored;
        case ChangedMeanwhile::Choice::KeepMine: break;
        }
        const CWaitCursor wait;
        CBdD db;
        stored = db.InsertTimeEntry(record, question.Method() == CDlgInsertion::FitIntoFreeTime
                                                ? CBdD::FitIntoGap
                                                : CBdD::OverwriteNeighbours);
    }
    if (!stored) {
        ShowEntryWriteFailure(this);
        return Stored::NotWritten;
    }
    m_entry = record;
    return Stored::Written;
}

void CDlgTask::OnDelete()
{
    if (m_mode != DeleteMode)
        return;
    bool deleted = false;
    {
        const CWaitCursor wait;
        CBdD db;
        deleted = db.DeleteTimeEntry(m_entry.Id);
    }
    if (!deleted) {
        ShowEntryWriteFailure(this);
        return;
    }
    accept();
}
