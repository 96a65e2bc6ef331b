#include "CDlgModifTasks.h"
#include "ContextHelp.h"
#include "UiUtilities.h"

#include "CComboBoxSuper.h"
#include "CReadOnlyCB.h"
#include "CTransparentImage.h"
#include "DialogAnswers.h"
#include "EntryDialogRules.h"
#include "EntryDialogServices.h"
#include "EntryDialogWidgets.h"
#include "TranslateWidgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

CDlgModifTasks::CDlgModifTasks(QWidget *parent)
    : QDialog(parent)
{
    BuildControls();
    TranslateDialog(this, DialogId);
    ContextHelp::Install(this, DialogId);
    m_combos.FillProjects(m_projectId);
    m_combos.FillActivities(m_activityId);
    m_combos.FillRates(m_rateId);
    OnBoxClicked();
}

CDlgModifTasks::~CDlgModifTasks() = default;

void CDlgModifTasks::BuildControls()
{
    auto box = [this](int id) { return Numbered(new QCheckBox(this), id); };
    auto add = [this](int id) {
        QPushButton *b = Numbered(new QPushButton(this), id);
        b->setAutoDefault(false);
        return b;
    };
    m_projectBox = box(IdProjectBox);
    m_activityBox = box(IdActivityBox);
    m_rateBox = box(IdRateBox);
    m_project = Numbered(new CComboBoxSuper(this), IdProject);
    m_activity = Numbered(new CReadOnlyCB(this), IdActivity);
    m_rate = Numbered(new CReadOnlyCB(this), IdRate);
    m_combos = EntryRecordCombos(m_project, m_activity, m_rate);
    SetUpRecordCombos(m_project, m_activity, m_rate);
    m_addProject = add(IdAddProject);
    m_addActivity = add(IdAddActivity);
    m_addRate = add(IdAddRate);
    m_warning = MakeWarningImage(this, IdWarning, 370);
    m_ok = Numbered(new QPushButton(this), IdOk);
    m_ok->setDefault(true);
    auto *cancel = add(IdCancel);

    auto *grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->addWidget(m_projectBox, 0, 0);
    grid->addWidget(m_project, 0, 1);
    grid->addWidget(m_addProject, 0, 2);
    grid->addWidget(m_activityBox, 1, 0);
    grid->addWidget(m_activity, 1, 1);
    grid->addWidget(m_addActivity, 1, 2);
    grid->addWidget(m_rateBox, 2, 0);
    grid->addWidget(m_rate, 2, 1);
    grid->addWidget(m_addRate, 2, 2);
    grid->addWidget(m_warning, 0, 3, 2, 1, Qt::AlignVCenter);

    auto *buttons = ButtonRow({m_ok, cancel});

    ContextHelp::AddButton(buttons, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    for (QCheckBox *b : {m_projectBox, m_activityBox, m_rateBox})
        connect(b, &QCheckBox::clicked, this, [this] { OnBoxClicked(); });
    connect(m_project, &QComboBox::activated, this, [this] { OnProjectSelected(); });
    connect(m_activity, &QComboBox::activated, this, [this] { OnActivitySelected(); });
    connect(m_rate, &QComboBox::activated, this, [this] { m_rateId = m_combos.RateId(); });
    connect(m_addProject, &QPushButton::clicked, this, [this] { OnAddProject(); });
    connect(m_addActivity, &QPushButton::clicked, this, [this] { OnAddActivity(); });
    connect(m_addRate, &QPushButton::clicked, this, [this] { OnAddRate(); });
    connect(m_ok, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int CDlgModifTasks::exec()
{
    if (DialogAnswers<CDlgModifTasks> *answers = DialogAnswers<CDlgModifTasks>::Active())
        return answers->Answer(*this);
    return QDialog::exec();
}

QWidget *CDlgModifTasks::Control(int id) const
{
    return FindControl(this, id);
}

void CDlgModifTasks::OnBoxClicked()
{
    const EntryDialogServices &services = EntryDialogServices::Registered();
    m_project->setEnabled(m_projectBox->isChecked());
    m_activity->setEnabled(m_activityBox->isChecked());
    m_rate->setEnabled(m_rateBox->isChecked());
    m_addProject->setEnabled(m_projectBox->isChecked() && services.newProject);
    m_addActivity->setEnabled(m_activityBox->isChecked() && services.newActivity);
    m_addRate->setEnabled(m_rateBox->isChecked() && services.newRate);
    UpdateState();
}

void CDlgModifTasks::UpdateState()
{
    const EntryDialogRules::tSeveralState state =
        EntryDialogRules::SeveralState(m_projectBox->isChecked(), m_activityBox->isChecked(),
                                       m_rateBox->isChecked(), m_combos.ProjectId(), m_combos.ActivityId());
    m_warning->setVisible(state.warning);
    m_ok->setEnabled(state.okEnabled);
}

void CDlgModifTasks::OnProjectSelected()
{
    m_projectId = m_combos.ProjectId();
    m_combos.ApplyProjectRule(m_projectId, false);
    UpdateState();
}

void CDlgModifTasks::OnActivitySelected()
{
    m_activityId = m_combos.ActivityId();
    m_combos.ApplyActivityRule(m_activityId);
    UpdateState();
}

void CDlgModifTasks::OnAddProject()
{
    const EntryDialogServices &services = EntryDialogServices::Registered();
    if (!services.newProject)
        return;
    const int id = services.newProject();
    if (id != -1)
        m_projectId = id;
    m_combos.FillRates(m_combos.RateId());
    m_combos.FillProjects(m_projectId);
    m_projectId = m_combos.ProjectId();
    m_combos.ApplyProjectRule(m_projectId, false);
    m_rateId = m_combos.RateId();
    UpdateState();
}

void CDlgModifTasks::OnAddActivity()
{
    const EntryDialogServices &services = EntryDialogServices::Registered();
    if (!services.newActivity)
        return;
    const int id = services.newActivity();
    if (id != -1)
        m_activityId = id;
    m_combos.FillRates(m_combos.RateId());
    m_combos.FillActivities(m_activityId);
    m_activityId = m_combos.ActivityId();
    m_combos.ApplyActivityRule(m_activityId);
    m_rateId = m_combos.RateId();
    UpdateState();
}

void CDlgModifTasks::OnAddRate()
{
    const EntryDialogServices &services = EntryDialogServices::Registered();
    if (!services.newRate)
        return;
    const int id = services.newRate();
    m_combos.FillRates(id != -1 ? id : m_combos.RateId());
    m_rateId = m_combos.RateId();
}

void CDlgModifTasks::OnOk()
{
    if (!m_ok->isEnabled())
        return;
    auto chosen = [](const QCheckBox *box, const QComboBox *combo) {
        return EntryDialogRules::ChosenId(box->isChecked(), combo->currentIndex() >= 0,
                                          EntryRecordCombos::SelectedId(combo));
    };
    m_projectId = chosen(m_projectBox, m_project);
    m_activityId = chosen(m_activityBox, m_activity);
    m_rateId = chosen(m_rateBox, m_rate);
    accept();
}
