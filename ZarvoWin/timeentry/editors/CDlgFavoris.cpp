#include "CDlgFavoris.h"
#include "ContextHelp.h"
#include "UiUtilities.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CComboBoxFiller.h"
#include "CComboBoxSuper.h"
#include "CDlgActivity.h"
#include "CDlgForecast.h"
#include "CDlgRate.h"
#include "CProjectStore.h"
#include "CReadOnlyCB.h"
#include "DialogAnswers.h"
#include "CTransparentImage.h"
#include "EntryDialogWidgets.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "RecordEditorServices.h"
#include "RecordEditorTools.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>


CDlgFavoris::CDlgFavoris(int favoriteId, QWidget *parent)
    : QDialog(parent)
    , m_favoriteId(favoriteId)
{
    auto label = [this](int id) { return Numbered(new QLabel(this), id); };
    auto button = [this](int id) {
        QPushButton *b = Numbered(new QPushButton(this), id);
        b->setAutoDefault(false);
        return b;
    };
    m_projects = Numbered(new CComboBoxSuper(this), IdProject);
    m_projects->SetFullNameProvider([](qlonglong id) {
        const CProjectStore *store = CAppData::ProjectStore();
        return store && id != -1 ? store->GetNodeFullName(int(id), -2) : QString();
    });
    m_projects->SetShowFullName(true);
    m_activities = Numbered(new CReadOnlyCB(this), IdActivity);
    m_rates = Numbered(new CReadOnlyCB(this), IdRate);
    m_titleEdit = Numbered(new QLineEdit(this), IdTitle);
    m_warning = MakeWarningImage(this, IdWarning, 370);
    const int iconSize = m_warning->width();
    for (QWidget *w : std::initializer_list<QWidget *>{m_projects, m_activities, m_rates})
        w->setMinimumWidth(fontMetrics().averageCharWidth() * 40);

    QPushButton *addProject = button(IdAddProject);
    QPushButton *addActivity = button(IdAddActivity);
    QPushButton *addRate = button(IdAddRate);
    auto *grid = new QGridLayout;
    grid->addWidget(label(IdProjectLabel), 0, 0);
    grid->addWidget(m_projects, 0, 1);
    grid->addWidget(addProject, 0, 2);
    grid->addWidget(label(IdActivityLabel), 1, 0);
    grid->addWidget(m_activities, 1, 1);
    grid->addWidget(addActivity, 1, 2);
    grid->addWidget(m_warning, 0, 3, 2, 1, Qt::AlignVCenter);
    grid->addWidget(label(IdRateLabel), 2, 0);
    grid->addWidget(m_rates, 2, 1);
    grid->addWidget(addRate, 2, 2);
    grid->addWidget(label(IdTitleLabel), 3, 0);
    grid->addWidget(m_titleEdit, 3, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(3, iconSize + 4);

    m_ok = Numbered(new QPushButton(this), IdOk);
    m_ok->setDefault(true);
    auto *cancel = button(IdCancel);
    auto *buttons = ButtonRow({m_ok, cancel});

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    connect(m_projects, &QComboBox::activated, this, [this] { OnProjectChosen(); });
    connect(m_activities, &QComboBox::activated, this, [this] { OnActivityChosen(); });
    connect(addProject, &QPushButton::clicked, this, [this] { OnNewProject(); });
    connect(addActivity, &QPushButton::clicked, this, [this] { OnNewActivity(); });
    connect(addRate, &QPushButton::clicked, this, [this] { OnNewRate(); });
    connect(m_ok, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    TranslateDialog(this, DialogId);
    ContextHelp::Install(this, DialogId);
}

int CDlgFavoris::exec()
{
    Prepare();
    if (DialogAnswers<CDlgFavoris> *answers = DialogAnswers<CDlgFavoris>::Active())
        return answers->Answer(*this);
    return QDialog::exec();
}

void CDlgFavoris::Prepare()
{
    if (m_prepared)
        return;
    m_prepared = true;
    if (m_favoriteId == -1) {
        setWindowTitle(Platform::Texts::get(187));
    } else {
        setWindowTitle(Platform::Texts::get(186));
        m_stored = ReadStored();
        m_project = m_stored.project;
        m_activity = m_stored.activity;
        m_rate = m_stored.rate;
        m_title = m_stored.title;
        m_titleEdit->setText(m_title);
    }
    FillProjects();
    FillActivities();
    FillRates();
    UpdateOkState();
}

void CDlgFavoris::FillProjects()
{
    m_projects->clear();
    CComboBoxFiller filler(m_projects, [](int image) { return RecordEditorServices::Image(image); });
    filler.SetCurSel(filler.AddItem(Platform::Texts::get(501), -1, -1, 0));
    if (const CProjectStore *store = CAppData::ProjectStore())
        store->FillProjectCombo(filler, nullptr, m_project);
}

void CDlgFavoris::FillActivities()
{
    m_activities->clear();
    CComboBoxFiller filler(m_activities);
    filler.SetCurSel(filler.AddItem(Platform::Texts::get(502), -1, -1, 0));
    CBdD db;
    db.FillElementCombo(filler, nullptr, false, m_activity, -1, -1);
}

void CDlgFavoris::FillRates()
{
    RecordEditorTools::FillRateList(m_rates, m_rate);
}

void CDlgFavoris::UpdateOkState()
{
    const bool chosen = m_projects->currentIndex() > 0 || m_activities->currentIndex() > 0;
    m_ok->setEnabled(chosen);
    m_warning->setVisible(!chosen);
}

void CDlgFavoris::ReadChoices()
{
    m_project = RecordEditorTools::SelectedData(m_projects);
    m_activity = RecordEditorTools::SelectedData(m_activities);
    m_rate = RecordEditorTools::SelectedData(m_rates);
}

void CDlgFavoris::OnProjectChosen()
{
    m_project = RecordEditorTools::SelectedData(m_projects);
    const CProjectStore *store = CAppData::ProjectStore();
    const CProject *node = store && m_project != -1 ? store->GetNode(m_project) : nullptr;
    if (node && !node->IsRoot()) {
        const tElement &project = node->Element();
        if (project.IdTauxHoraire != -1)
            RecordEditorTools::SelectRowWithData(m_rates, project.IdTauxHoraire, 1);
        if (project.Activity != -1)
            RecordEditorTools::SelectRowWithData(m_activities, project.Activity, 1);
    }
    UpdateOkState();
}

void CDlgFavoris::OnActivityChosen()
{
    m_activity = RecordEditorTools::SelectedData(m_activities);
    const CProjectStore *store = CAppData::ProjectStore();
    const tElement *activity = store && m_activity != -1 ? store->GetActivity(m_activity) : nullptr;
    if (activity && activity->IdTauxHoraire != -1)
        RecordEditorTools::SelectRowWithData(m_rates, activity->IdTauxHoraire, 1);
    UpdateOkState();
}

void CDlgFavoris::OnNewProject()
{
    ReadChoices();
    CDlgForecast editor(this);
    editor.exec();
    if (editor.SavedId() != -1)
        m_project = editor.SavedId();
    FillRates();
    FillProjects();
    OnProjectChosen();
}

void CDlgFavoris::OnNewActivity()
{
    ReadChoices();
    CDlgActivity editor(this);
    editor.LoadActivity(-1);
    editor.exec();
    if (editor.Record().Id != -1)
        m_activity = editor.Record().Id;
    FillRates();
    FillActivities();
    OnActivityChosen();
}

void CDlgFavoris::OnNewRate()
{
    CDlgRate editor(this);
    if (editor.exec() != QDialog::Accepted)
        return;
    ReadChoices();
    if (editor.Record().Id != -1)
        m_rate = editor.Record().Id;
    FillRates();
    UpdateOkState();
}

void CDlgFavoris::OnOk()
{
    // No row chosen reads as none (-1).
    ReadChoices();
    m_title = m_titleEdit->text();
    switch (CheckChangedMeanwhile()) {
    case ChangedMeanwhile::Choice::Back: return;
    case ChangedMeanwhile::Choice::KeepStored: reject(); return;
    case ChangedMeanwhile::Choice::KeepMine: break;
    }
    CBdD db;
    const int result = db.AddFavorite(m_favoriteId, m_project, m_activity, m_rate, m_title);
    if (result == CBdD::FavoriteDone) {
        accept();
    } else if (result == CBdD::FavoriteExists) {
        RecordEditorTools::Ask(this, MessageBoxType::Ok | MessageBoxType::IconExclamation,
                               Platform::Texts::get(472), 222);
    } else {
        RecordEditorTools::ShowWriteFailure(this);
    }
}

CDlgFavoris::tStored CDlgFavoris::ReadStored() const
{
    tStored stored;
    CBdD db;
    stored.live = db.GetFavorite(m_favoriteId, stored.project, stored.activity, stored.rate, stored.title);
    return stored;
}

QString CDlgFavoris::Describe(int project, int activity, int rate, const QString &title)
{
    QStringList parts;
    if (const CProjectStore *store = CAppData::ProjectStore()) {
        if (project != -1)
            parts << store->GetNodeFullName(project, -2);
        if (activity != -1)
            parts << store->GetActivityName(activity);
        if (const tRate *r = rate != -1 ? store->GetRate(rate) : nullptr)
            parts << r->Nom;
    }
    if (!title.isEmpty())
        parts << title;
    parts.removeAll(QString());
    return parts.join(QStringLiteral(" / "));
}

ChangedMeanwhile::Choice CDlgFavoris::CheckChangedMeanwhile()
{
    using ChangedMeanwhile::Choice;
    // A new favourite has no stored row to compare; one that could not be
    // read at opening is told by the write.
    if (m_favoriteId == -1 || !m_stored.live)
        return Choice::KeepMine;
    const tStored now = ReadStored();
    if (now == m_stored)
        return Choice::KeepMine;
    const QString mine = Describe(m_project, m_activity, m_rate, m_title);
    const Choice choice = now.live
        ? ChangedMeanwhile::Ask(this,
                                Platform::Formatter::sprintf(Platform::Texts::get(TextChanged),
                                                             {Describe(now.project, now.activity, now.rate, now.title),
                                                              mine}),
                                TextChangedButtons)
        : ChangedMeanwhile::AskDeleted(this,
                                       Platform::Formatter::sprintf(Platform::Texts::get(TextDeleted), {mine}));
    if (choice == Choice::KeepMine)
        m_stored = now;
    return choice;
}
