#include "CWizardUser2.h"

#include "CComboBoxFiller.h"
#include "CReadOnlyCB.h"
#include "CUsers.h"
#include "OptionPageTools.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

using OptionPageTools::Numbered;

CWizardUser2::CWizardUser2(const CUsers &users, QWidget *parent)
    : CWizardPage(DialogId, parent)
    , m_users(users)
{
}

void CWizardUser2::OnInitDialog()
{
    QVBoxLayout *column = BuildFrame(430, true);
    // Its text is 416 or 417, set by the wizard.
    m_text = WrappedText(IntroText);
    m_text->setProperty("controlId", QVariant());
    m_text->setMinimumHeight(fontMetrics().lineSpacing() * 4);
    column->addWidget(m_text);
    column->addSpacing(fontMetrics().height() / 2);

    m_keep = Numbered(new QRadioButton(this), KeepChoice);
    m_empty = Numbered(new QRadioButton(this), EmptyChoice);
    m_import = Numbered(new QRadioButton(this), ImportChoice);
    auto *choices = new QButtonGroup(this);
    for (QRadioButton *r : {m_keep, m_empty, m_import}) {
        choices->addButton(r);
        column->addWidget(r);
    }

    const int indent = fontMetrics().averageCharWidth() * 4;
    auto *grid = new QGridLayout;
    grid->setContentsMargins(indent, 0, 0, 0);
    m_sourceLabel = Numbered(new QLabel(this), SourceLabel);
    m_source = Numbered(new CReadOnlyCB(this), SourceList);
    m_sourceLabel->setBuddy(m_source);
    grid->addWidget(m_sourceLabel, 0, 0, 1, 2);
    grid->addWidget(m_source, 1, 0, 1, 2);
    m_projects = Numbered(new QCheckBox(this), ProjectsCheck);
    m_activities = Numbered(new QCheckBox(this), ActivitiesCheck);
    m_rates = Numbered(new QCheckBox(this), RatesCheck);
    m_favourites = Numbered(new QCheckBox(this), FavouritesCheck);
    m_reports = Numbered(new QCheckBox(this), ReportsCheck);
    m_tracking = Numbered(new QCheckBox(this), TrackingCheck);
    grid->addWidget(m_projects, 2, 0);
    grid->addWidget(m_activities, 2, 1);
    grid->addWidget(m_rates, 3, 0);
    grid->addWidget(m_favourites, 3, 1);
    grid->addWidget(m_reports, 4, 0);
    grid->addWidget(m_tracking, 4, 1);
    column->addLayout(grid);
    column->addStretch(1);

    TranslatePage();
    m_keep->setChecked(true);
    for (QCheckBox *box : {m_projects, m_activities, m_rates, m_favourites, m_reports, m_tracking})
        box->setChecked(true);
    CComboBoxFiller filler(m_source);
    m_users.FillUserList(filler, 0);
    m_import->setEnabled(m_source->count() > 0);

    connect(choices, &QButtonGroup::buttonToggled, this, [this] { EnableImport(); });
    // Project tracking belongs to the projects.
    connect(m_projects, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            m_tracking->setChecked(false);
        m_tracking->setEnabled(on && m_import->isChecked());
    });
    EnableImport();
}

void CWizardUser2::TranslatePage()
{
    if (!IsCreated() || !m_keep)
        return;
    TranslateDialog(this, DialogId);
    m_text->setText(Platform::Texts::get(m_existing ? 416 : 417));
}

void CWizardUser2::ShowForExistingDatabase(bool exists)
{
    m_existing = exists;
    m_text->setText(Platform::Texts::get(exists ? 416 : 417));
    m_keep->setVisible(exists);
    if (!exists && m_keep->isChecked())
        m_empty->setChecked(true);
}

void CWizardUser2::EnableImport()
{
    const bool on = m_import->isChecked();
    m_sourceLabel->setEnabled(on);
    m_source->setEnabled(on);
    for (QCheckBox *box : {m_projects, m_activities, m_rates, m_favourites, m_reports})
        box->setEnabled(on);
    m_tracking->setEnabled(on && m_projects->isChecked());
}

CWizardUser2::Choice CWizardUser2::CurrentChoice() const
{
    if (m_import->isChecked())
        return Import;
    if (m_empty->isChecked() || !m_keep->isVisibleTo(this))
        return Empty;
    return Keep;
}

int CWizardUser2::SourceUserId() const
{
    const int index = m_source->currentIndex();
    return index < 0 ? -1 : m_source->itemData(index, CComboBoxFiller::DataRole).toInt();
}

CWizardUser2::Tables CWizardUser2::ChosenTables() const
{
    Tables t;
    t.projects = m_projects->isChecked();
    t.activities = m_activities->isChecked();
    t.rates = m_rates->isChecked();
    t.favourites = m_favourites->isChecked();
    t.reports = m_reports->isChecked();
    t.tracking = m_projects->isChecked() && m_tracking->isChecked();
    return t;
}
