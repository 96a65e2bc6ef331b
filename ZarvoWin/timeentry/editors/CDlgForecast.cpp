#include "CDlgForecast.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CComboBoxFiller.h"
#include "CComboBoxSuper.h"
#include "CConfiguration.h"
#include "CDlgActivity.h"
#include "CFitScrollArea.h"
#include "CForecastNotesPage.h"
#include "CForecastPage.h"
#include "ContextHelp.h"
#include "CProjectStore.h"
#include "CReadOnlyCB.h"
#include "CWaitCursor.h"
#include "DialogAnswers.h"
#include "EntryDialogWidgets.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "RecordEditorServices.h"
#include "RecordEditorTools.h"
#include "RememberedMessageBox.h"
#include "ScreenFit.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>


namespace {

constexpr int ActivityImage = 16;
constexpr int FirstHelpTopic = 355;
const QString PositionKey = QStringLiteral("Forecast");

// The texts of the type list (project type order), the tabs, the
// priorities and the statuses (row 0 of the last two is blank).
const Platform::TextId TypeTexts[] = {141, 554, 555, 551, 552, 556};
const Platform::TextId TabTexts[] = {548, 553, 568, 549};
const Platform::TextId PriorityTexts[] = {507, 508, 509, 510, 511};
const Platform::TextId StatusTexts[] = {583, 582, 542, 516, 558};
// The pictures of priorities 1..5 and statuses 1..5.
const char *const PriorityIcons[] = {"arrow-down-double", "arrow-down", "arrow-right", "arrow-up",
                                     "arrow-up-double"};
const char *const StatusIcons[] = {"chronometer", "media-playback-pause", "media-playback-start",
                                   "task-complete", "view-hidden"};

constexpr int StatusAutomatic = 1;
constexpr int StatusWaiting = 2;
constexpr int StatusRunning = 3;

QString statusName(int status)
{
    return status >= 1 && status <= 5 ? Platform::Texts::get(StatusTexts[status - 1]) : QString();
}

int rowId(const QComboBox *combo)
{
    const int row = combo->currentIndex();
    if (row < 0)
        return 0;
    const QVariant data = combo->itemData(row, CComboBoxFiller::DataRole);
    return data.isValid() ? data.toInt() : 0;
}

void selectRow(QComboBox *combo, int row)
{
    combo->setCurrentIndex(row >= 0 && row < combo->count() ? row : -1);
}

} // namespace

CDlgForecast::CDlgForecast(QWidget *parent)
    : CDlgForecast(true, false, nullptr, GeneralTab, parent)
{
}

CDlgForecast::CDlgForecast(bool isNew, bool activity, CProject *node, int initialTab, QWidget *parent)
    : QDialog(parent)
    , m_hold(CAppData::ProjectStore())
    , m_working(CAppData::ProjectStore())
    , m_given(node)
    , m_initialTab(initialTab)
{
    CProjectStore *store = CAppData::ProjectStore();
    if (isNew || !node) {
        m_new = true;
        tForecast &f = m_working.Forecast();
        tElement &e = m_working.Element();
        f.IdActivity = activity ? -3 : -2;
        if (node) {
            const tForecast &from = node->Forecast();
            f.bJours = from.bJours;
            f.Priority = from.Priority;
            f.TypePrevu = from.TypePrevu;
            f.TypeDureeSupp = from.TypeDureeSupp;
            e.Activity = node->Element().Activity;
            f.bPrevuAuto = false;
            e.Parent = node->ProjectId();
            if (activity)
                f.IdProject = node->ProjectId();
            // The new node's ancestors decide its inherited status.
            m_working.SetParent(node);
        } else {
            if (const CConfiguration *config = CAppData::Configuration())
                f.bJours = config->fmtDays;
            if (store)
                m_working.SetParent(store->GetRoot());
        }
        m_snapshot = std::make_unique<CProject>(store);
        m_snapshot->Assign(m_working);
    } else {
        m_new = false;
        m_working.Assign(*node);
        if (node->IsActivity()) {
            if (const tElement *element = store ? store->GetActivity(node->ActivityId()) : nullptr)
                m_working.Element() = *element;
            m_working.Element().Parent = node->ProjectId();
        }
    }
    Build();
}

CDlgForecast::~CDlgForecast()
{
    // The children are the store's nodes: the copies only borrowed them.
    m_working.ReleaseChildren();
    if (m_snapshot)
        m_snapshot->ReleaseChildren();
}

void CDlgForecast::Build()
{
    auto label = [this](int id) { return Numbered(new QLabel(this), id); };
    auto combo = [this](int id) {
        CComboBoxSuper *box = Numbered(new CComboBoxSuper(this), id);
        box->SetTreeLines(false);
        return box;
    };

    m_nameLabel = label(IdNameLabel);
    m_name = Numbered(new QLineEdit(this), IdName);
    m_name->setMaxLength(tElement::MaxNameLength);
    m_activity = Numbered(new CReadOnlyCB(this), IdActivity);
    m_addActivity = Numbered(new QPushButton(this), IdAddActivity);
    m_addActivity->setAutoDefault(false);
    m_type = combo(IdType);
    m_priority = combo(IdPriority);
    m_status = combo(IdStatus);
    // Found by its number, but given no text: it shows a picture.
    m_inherited = new QLabel(this);
    m_inherited->setObjectName(QString::number(IdInherited));
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize);
    m_inherited->setPixmap(QIcon::fromTheme(QStringLiteral("dialog-information")).pixmap(iconSize));
    m_inherited->setToolTip(Platform::Texts::get(632));
    m_inherited->setFixedWidth(iconSize + 4);
    m_tabs = Numbered(new QTabWidget(this), IdTabs);
    m_ok = Numbered(new QPushButton(this), IdOk);
    m_ok->setDefault(true);
    auto *cancel = Numbered(new QPushButton(this), IdCancel);
    cancel->setAutoDefault(false);

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(m_name, 1);
    nameRow->addWidget(m_activity, 1);
    nameRow->addWidget(m_addActivity);

    auto *band = new QGridLayout;
    band->addWidget(m_nameLabel, 0, 0);
    band->addLayout(nameRow, 0, 1, 1, 7);
    band->addWidget(label(IdTypeLabel), 1, 0);
    band->addWidget(m_type, 1, 1);
    band->addWidget(label(IdPriorityLabel), 1, 2);
    band->addWidget(m_priority, 1, 3);
    band->addWidget(label(IdStatusLabel), 1, 4);
    band->addWidget(m_status, 1, 5);
    band->addWidget(m_inherited, 1, 6);
    band->setColumnStretch(1, 3);
    band->setColumnStretch(3, 2);
    band->setColumnStretch(5, 2);

    auto *buttons = ButtonRow({m_ok, cancel});
    ContextHelp::AddButton(buttons, this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(band);
    m_tabsScroller = new CFitScrollArea(m_tabs, this);
    // A tab that shows more fields (a date ticked) may need the screen's
    // room again.
    connect(m_tabsScroller, &CFitScrollArea::contentsMinimumChanged, this, [this] {
        if (isVisible())
            FitScreen();
    });
    layout->addWidget(m_tabsScroller, 1);
    layout->addLayout(buttons);
    m_leastSize = QSize(fontMetrics().averageCharWidth() * 90, fontMetrics().height() * 26);
    setMinimumSize(m_leastSize);

    connect(m_ok, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancel, &QPushButton::clicked, this, &CDlgForecast::reject);
    connect(m_activity, &QComboBox::activated, this, [this] { OnActivityChosen(); });
    connect(m_addActivity, &QPushButton::clicked, this, [this] { OnNewActivity(); });
    connect(m_status, &QComboBox::activated, this, [this] { OnStatusChosen(); });
    connect(m_name, &QLineEdit::textChanged, this, [this] { OnNameChanged(); });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { OnTabChanged(index); });
    // Each tab has a page of its own.
    ContextHelp::Install(this, [this] { return quint32(FirstHelpTopic + 10 * m_tabs->currentIndex()); });

    TranslateDialog(this, DialogId);
}

int CDlgForecast::exec()
{
    Prepare();
    if (DialogAnswers<CDlgForecast> *answers = DialogAnswers<CDlgForecast>::Active())
        return answers->Answer(*this);
    RestoreWindowPosition(this, PositionKey);
    return QDialog::exec();
}

void CDlgForecast::FitScreen()
{
    if (!m_prepared)
        return;
    ScreenFit::ShrinkParts(this, {m_tabsScroller});
    setMinimumSize(m_leastSize.expandedTo(layout()->totalMinimumSize()).boundedTo(ScreenFit::RoomFor(this)));
    // Never sized yet, it opens at the size its tabs ask for, as far as
    // the screen holds it (not at a share of the screen, which would put
    // the tabs' columns one under the other on a small one).
    if (!testAttribute(Qt::WA_Resized))
        resize(sizeHint().expandedTo(minimumSize()));
    ScreenFit::Into(this);
}

void CDlgForecast::showEvent(QShowEvent *event)
{
    // The screen it shows on is known now; never placed before, it opens
    // over its owner.
    FitScreen();
    QDialog::showEvent(event);
}

CForecastPage *CDlgForecast::Page(int tab) const
{
    return tab >= 0 && tab < TabCount ? m_pages[size_t(tab)] : nullptr;
}

void CDlgForecast::Prepare()
{
    if (m_prepared)
        return;
    m_prepared = true;
    const bool activityRow = IsActivityRow();
    if (m_new)
        setWindowTitle(Platform::Texts::get(activityRow ? 588 : 577));
    else if (activityRow)
        setWindowTitle(Platform::Texts::get(142));

    const bool newRow = m_new && activityRow;
    m_activity->setVisible(newRow);
    m_addActivity->setVisible(newRow);
    m_name->setVisible(!newRow);
    if (m_new)
        m_ok->setEnabled(false);
    if (newRow)
        FillActivityList(-1);

    // The pages, the planning windows' when registered, else ours.
    const RecordEditorServices &services = RecordEditorServices::Registered();
    for (int tab = 0; tab < TabCount; ++tab) {
        CForecastPage *page = services.forecastPage ? services.forecastPage(tab, m_tabs) : nullptr;
        if (!page)
            page = tab == NotesTab ? new CForecastNotesPage(m_tabs) : new CForecastPage(m_tabs);
        m_pages[size_t(tab)] = page;
    }
    m_pages[GeneralTab]->SetProject(m_new, &m_working);
    connect(m_pages[GeneralTab], &CForecastPage::parentChanged, this, [this] { OnParentChanged(); });
    {
        const QSignalBlocker quiet(m_tabs);
        for (int tab = 0; tab < TabCount; ++tab)
            m_tabs->addTab(m_pages[size_t(tab)], Platform::Texts::get(TabTexts[tab]));
        m_tabs->setCurrentIndex(m_initialTab >= 0 && m_initialTab < TabCount ? m_initialTab : GeneralTab);
    }

    // The band's lists; each row's item id is its index.
    {
        CComboBoxFiller types(m_type, [](int image) { return RecordEditorServices::Image(image); });
        if (activityRow) {
            types.AddItem(Platform::Texts::get(142), ActivityImage, 0, 0);
            selectRow(m_type, 0);
            m_name->setReadOnly(true);
        } else {
            for (int type = 0; type < 6; ++type)
                types.AddItem(Platform::Texts::get(TypeTexts[type]), GetProjectStateImage(type), type, 0);
            selectRow(m_type, m_working.Element().Type);
        }
    }
    {
        CComboBoxFiller priorities(m_priority, [](int image) {
            return QIcon::fromTheme(QString::fromLatin1(PriorityIcons[image]));
        });
        priorities.AddItem(QStringLiteral(" "), -1, 0, 0);
        for (int priority = 1; priority <= 5; ++priority)
            priorities.AddItem(Platform::Texts::get(PriorityTexts[priority - 1]), priority - 1, priority, 0);
        selectRow(m_priority, m_working.Forecast().Priority);
        CComboBoxFiller statuses(m_status, [](int image) {
            return QIcon::fromTheme(QString::fromLatin1(StatusIcons[image]));
        });
        statuses.AddItem(QStringLiteral(" "), -1, 0, 0);
        for (int status = 1; status <= 5; ++status)
            statuses.AddItem(statusName(status), status - 1, status, 0);
    }
    ApplyStatusRule();

    // The name: the project's, or the activity's for an activity row.
    {
        const QSignalBlocker quiet(m_name);
        tForecast &f = m_working.Forecast();
        if (!activityRow) {
            m_name->setText(m_working.Element().Nom);
        } else if (f.IdActivity == -1) {
            m_name->setText(Platform::Texts::get(502));
        } else if (f.IdActivity != -3) {
            const CProjectStore *store = CAppData::ProjectStore();
            if (const tElement *element = store ? store->GetActivity(f.IdActivity) : nullptr) {
                m_name->setText(element->Nom);
            } else {
                f.IdActivity = -1;
                m_name->setText(Platform::Texts::get(502));
            }
        }
    }

    m_pages[PlanningTab]->SetProject(m_new, &m_working);
    m_pages[PredecessorsTab]->SetProject(m_new, &m_working);
    m_pages[NotesTab]->SetNotesText(activityRow ? m_working.Forecast().Notes : m_working.Element().Commentaire);
    OnTabChanged(m_tabs->currentIndex());
    FitScreen();

    if (m_new)
        (newRow ? static_cast<QWidget *>(m_activity) : m_name)->setFocus();
}

void CDlgForecast::FillActivityList(int selectedId)
{
    const QSignalBlocker quiet(m_activity);
    m_activity->setUpdatesEnabled(false);
    m_activity->clear();
    CComboBoxFiller filler(m_activity);
    const CProjectStore *store = CAppData::ProjectStore();
    if (store && store->Context().ShowUndefinedActivity())
        filler.AddItem(Platform::Texts::get(502), -1, -1, 0);
    {
        CBdD db;
        db.FillElementCombo(filler, nullptr, false, -3, -1, -1);
    }
    // Only activities the project has no row of yet.
    if (m_given) {
        for (const CProject *child : m_given->Children()) {
            if (!child->IsActivity())
                continue;
            for (int row = m_activity->count() - 1; row >= 0; --row) {
                if (m_activity->itemData(row, CComboBoxFiller::DataRole).toInt() == child->ActivityId())
                    m_activity->removeItem(row);
            }
        }
    }
    m_activity->setCurrentIndex(-1);
    if (selectedId != -3)
        RecordEditorTools::SelectRowWithData(m_activity, selectedId);
    m_activity->setUpdatesEnabled(true);
}

void CDlgForecast::ApplyStatusRule()
{
    const CProject *parent = m_working.GetParent();
    // The parent is a real project when it has a parent itself.
    const bool realParent = parent && parent->GetParent();
    bool inherited = false;
    if (m_working.IsInactive()) {
        selectRow(m_status, tForecast::StatusInactive);
        inherited = realParent && parent->IsInactive();
    } else if (m_working.IsCompleted()) {
        selectRow(m_status, tForecast::StatusCompleted);
        inherited = realParent && parent->IsCompleted();
    } else {
        selectRow(m_status, m_working.Forecast().Status);
    }
    m_status->setEnabled(!inherited);
    m_inherited->setVisible(inherited);
}

void CDlgForecast::OnActivityChosen()
{
    if (m_activity->isHidden())
        return;
    m_ok->setEnabled(true);
    tElement &e = m_working.Element();
    tForecast &f = m_working.Forecast();
    if (m_activity->currentIndex() >= 0) {
        f.IdActivity = RecordEditorTools::SelectedData(m_activity);
        const CProjectStore *store = CAppData::ProjectStore();
        if (const tElement *activity = store ? store->GetActivity(f.IdActivity) : nullptr) {
            e.Color = activity->Color;
            e.IdTauxHoraire = activity->IdTauxHoraire;
        }
    } else {
        f.IdActivity = -3;
        if (m_snapshot) {
            e.Color = m_snapshot->Element().Color;
            e.IdTauxHoraire = m_snapshot->Element().IdTauxHoraire;
        }
    }
    m_pages[GeneralTab]->FillControls();
}

void CDlgForecast::OnNewActivity()
{
    CDlgActivity editor(this);
    editor.LoadActivity(-1);
    editor.exec();
    int selectId = editor.Record().Id;
    if (selectId == -1)
        selectId = m_activity->currentIndex() >= 0 ? RecordEditorTools::SelectedData(m_activity) : -3;
    FillActivityList(selectId);
    m_activity->update();
    OnActivityChosen();
}

void CDlgForecast::OnParentChanged()
{
    ApplyStatusRule();
    if (IsActivityRow() && !m_activity->isHidden()) {
        const int selected = m_activity->currentIndex() >= 0 ? RecordEditorTools::SelectedData(m_activity) : -3;
        FillActivityList(selected);
        OnActivityChosen();
    }
}

void CDlgForecast::OnStatusChosen()
{
    m_working.Forecast().Status = rowId(m_status);
    m_pages[PlanningTab]->UpdateControlStates();
    m_pages[PlanningTab]->UpdateFigures();
}

void CDlgForecast::OnNameChanged()
{
    if (m_name->isHidden())
        return;
    m_ok->setEnabled(!m_name->text().trimmed().isEmpty());
}

void CDlgForecast::OnTabChanged(int index)
{
    if (index == PlanningTab && m_pages[PlanningTab])
        m_pages[PlanningTab]->UpdateFigures();
}

bool CDlgForecast::CollectAndCompare()
{
    const bool activityRow = IsActivityRow();
    tElement &e = m_working.Element();
    tForecast &f = m_working.Forecast();
    if (!activityRow)
        e.Nom = m_name->text();
    e.Type = rowId(m_type);
    f.Priority = rowId(m_priority);
    if (!m_status->isHidden() && m_status->isEnabled())
        f.Status = rowId(m_status);
    if (m_pages[GeneralTab])
        m_pages[GeneralTab]->StoreControls();
    if (m_pages[PlanningTab])
        m_pages[PlanningTab]->StoreDates();
    if (m_pages[NotesTab]) {
        if (activityRow)
            f.Notes = m_pages[NotesTab]->NotesText();
        else
            e.Commentaire = m_pages[NotesTab]->NotesText();
    }
    if (m_new)
        return e.IsDifferent(m_snapshot->Element()) || f.IsDifferent(m_snapshot->Forecast());
    if (!activityRow)
        return e.IsDifferent(m_given->Element()) || f.IsDifferent(m_given->Forecast());
    return f.IsDifferent(m_given->Forecast());
}

void CDlgForecast::OnOk()
{
    if (CollectAndCompare())
        Save();
    else
        QDialog::reject();
}

void CDlgForecast::reject()
{
    if (!m_prepared || !CollectAndCompare()) {
        QDialog::reject();
        return;
    }
    const int answer = RememberedMessageBox(Platform::Texts::get(517), Platform::Texts::get(166), this, 0, 1,
                                            MessageBoxType::YesNoCancel | MessageBoxType::IconQuestion);
    if (answer == MessageBoxAnswer::Yes)
        Save();
    else if (answer == MessageBoxAnswer::No)
        QDialog::reject();
}

void CDlgForecast::done(int result)
{
    if (isVisible())
        SaveWindowPosition(this, PositionKey);
    QDialog::done(result);
    // Closed, the editor reads no node again: what waited for it (a reload
    // of the tree, the network update) runs now, so that the caller finds
    // the project saved in the store.
    m_hold.Release();
}

int CDlgForecast::CompletionPercent(qint64 done, qint64 estimated)
{
    if (estimated == 0)
        return 0;
    const double ratio = double(done) / double(estimated);
    if (ratio > 1)
        return 100;
    return qBound(0, int(ratio * 100 + 0.5), 100);
}

void CDlgForecast::AskCompletion()
{
    for (const CForecastPage *page : m_pages) {
        if (!page)
            return;
    }
    if (!m_pages[PlanningTab]->PlansAgainstEstimate())
        return;
    tForecast &f = m_working.Forecast();
    const qint64 done = m_working.GetDoneWork(true);
    const int percent = CompletionPercent(done, m_working.GetEstimatedTotal());
    int effective = f.Status;
    if (effective == StatusAutomatic)
        effective = done != 0 ? StatusRunning : StatusWaiting;
    const quint32 yesNo = MessageBoxType::YesNo | MessageBoxType::IconQuestion;
    if (percent == 100 && effective != tForecast::StatusCompleted) {
        const QString text = Platform::Formatter::sprintf(
            Platform::Texts::get(587), {100, statusName(effective), statusName(tForecast::StatusCompleted)});
        if (RememberedMessageBox(text, Platform::Texts::get(166), this, 1, 0, yesNo) == MessageBoxAnswer::Yes)
            f.Status = tForecast::StatusCompleted;
    } else if (percent < 100 && effective == tForecast::StatusCompleted) {
        const QString text = Platform::Formatter::sprintf(
            Platform::Texts::get(587), {percent, statusName(tForecast::StatusCompleted), statusName(StatusRunning)});
        if (RememberedMessageBox(text, Platform::Texts::get(166), this, 2, 0, yesNo) == MessageBoxAnswer::Yes)
            f.Status = StatusRunning;
    }
}

void CDlgForecast::Save()
{
    const bool activityRow = IsActivityRow();
    tElement &e = m_working.Element();
    tForecast &f = m_working.Forecast();
    if ((!activityRow && e.Nom.isEmpty()) || f.IdActivity == -3) {
        RecordEditorTools::ShowNameMissing(this);
        return;
    }
    AskCompletion();

    bool writeElement = false;
    bool writeForecast = false;
    if (m_new) {
        writeElement = !activityRow;
        writeForecast = true;
        if (activityRow)
            f.IdProject = e.Parent;
    } else if (!activityRow) {
        writeElement = e.IsDifferent(m_given->Element());
        writeForecast = f.IsDifferent(m_given->Forecast());
    } else {
        writeForecast = f.IsDifferent(m_given->Forecast());
    }
    if (!writeElement && !writeForecast) {
        QDialog::reject();
        return;
    }
    bool saved;
    {
        CWaitCursor wait;
        CBdD db;
        saved = db.SaveProject(writeElement ? &e : nullptr, writeForecast ? &f : nullptr);
    }
    if (!saved) {
        RecordEditorTools::ShowWriteFailure(this);
        return;
    }
    m_savedId = writeElement ? e.Id : f.IdProject;
    accept();
}
