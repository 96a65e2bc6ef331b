#include "CDlgTask.h"

#include "ApplicationImageList.h"
#include "CComboBoxSuper.h"
#include "CReadOnlyCB.h"
#include "CTransparentImage.h"
#include "CTranslationStore.h"
#include "CTrayDatabase.h"
#include "CTrayToolTip.h"
#include "CZarvoTrayApp.h"
#include "Clock.h"
#include "ContextHelp.h"
#include "HelpTopics.h"
#include "MessageBoxParams.h"
#include "RichMessageBox.h"
#include "TranslateWidgets.h"
#include "TrayUserChange.h"
#include "UiUtilities.h"
#include "WidgetIds.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <typename W>
W *numbered(W *widget, int id)
{
    WidgetIds::SetControlId(widget, id);
    return widget;
}

} // namespace

CDlgTask::CDlgTask(CZarvoTrayApp &app, QWidget *parent)
    : QDialog(parent)
    , m_app(app)
    , m_start(Platform::Clock::now())
    , m_databasePath(app.User().databasePath)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_projects = numbered(new CComboBoxSuper(this), ProjectList);
    m_activities = numbered(new CReadOnlyCB(this), ActivityList);
    m_rates = numbered(new CReadOnlyCB(this), RateList);
    m_invoiced = numbered(new QCheckBox(this), Invoiced);
    m_invoiced->setLayoutDirection(Qt::RightToLeft); // "Facturée :" before its box
    m_title = numbered(new QLineEdit(this), TitleEdit);
    m_notes = numbered(new QPlainTextEdit(this), NotesEdit);
    m_notes->setTabChangesFocus(true);
    m_notes->setMinimumHeight(fontMetrics().height() * 4);
    m_projects->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    auto *startText = numbered(new QLabel(this), StartText);
    auto *endText = numbered(new QLabel(this), EndText);
    m_warning = numbered(new CTransparentImage(this), Warning);
    m_warning->SetIcon(QIcon::fromTheme(QStringLiteral("dialog-warning")).pixmap(32, 32));
    m_warning->setFixedSize(32, 32);

    auto *grid = new QGridLayout;
    const auto label = [this](int id, QWidget *buddy) {
        auto *l = numbered(new QLabel(this), id);
        if (buddy)
            l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label(ProjectLabel, m_projects), 0, 0);
    grid->addWidget(m_projects, 0, 1, 1, 3);
    grid->addWidget(label(ActivityLabel, m_activities), 1, 0);
    grid->addWidget(m_activities, 1, 1, 1, 3);
    grid->addWidget(label(RateLabel, m_rates), 2, 0);
    grid->addWidget(m_rates, 2, 1, 1, 3);
    grid->addWidget(label(StartLabel, nullptr), 3, 0);
    grid->addWidget(startText, 3, 1);
    grid->addWidget(label(EndLabel, nullptr), 4, 0);
    grid->addWidget(endText, 4, 1);
    grid->addWidget(m_invoiced, 3, 3, Qt::AlignRight);
    grid->addWidget(label(TitleLabel, m_title), 5, 0);
    grid->addWidget(m_title, 5, 1, 1, 3);
    grid->addWidget(label(NotesLabel, m_notes), 6, 0, Qt::AlignTop);
    grid->addWidget(m_notes, 6, 1, 1, 3);
    grid->setColumnStretch(2, 1);

    m_ok = numbered(new QPushButton(this), OkButton);
    m_ok->setDefault(true);
    auto *cancel = numbered(new QPushButton(this), CancelButton);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_warning);
    bottom->addStretch(1);
    bottom->addWidget(m_ok);
    bottom->addWidget(cancel);
    ContextHelp::Install(this, [] { return quint32(HelpTopics::TrayTaskTopic); });
    ContextHelp::AddButton(bottom, this);
    auto *column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addLayout(bottom);
    connect(m_ok, &QPushButton::clicked, this, &CDlgTask::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    CTranslationStore texts(app.Languages(), CTranslationStore::Program::Tray);
    TranslateDialogWithStore(this, texts, DialogId);
    // The picture's tip says what OK waits for.
    auto *tip = new CTrayToolTip(false, m_warning);
    tip->Attach(m_warning, [this](const QPoint &, tToolTipContent &content) {
        content.title = m_app.Text(TextChooseOne);
        return true;
    });

    startText->setText(app.Texts().DateText(m_start, false, true));

    CTrayDatabase db(m_databasePath);
    // Projects: the undefined one, then the tree with its defaults. The
    // store holds another user's projects once the user changed: the
    // items then keep the names they were listed with.
    m_projects->setIconSize(QSize(16, 16));
    m_projects->SetFullNameProvider([this](qlonglong id) {
        return m_app.User().databasePath == m_databasePath ? m_app.Store().GetProjectFullName(int(id)) : QString();
    });
    m_projects->SetShowFullName(true);
    m_projects->addItem(app.Texts().Text(TrayTexts::NoProject), -1);
    m_projectActivities = {-1};
    m_projectRates = {-1};
    {
        std::vector<int> activities, rates;
        FillApplicationImages(m_images);
        app.Store().FillProjectCombo(*m_projects, [this](int image) { return m_images.Icon(image); }, activities,
                                     rates);
        m_projectActivities.insert(m_projectActivities.end(), activities.begin(), activities.end());
        m_projectRates.insert(m_projectRates.end(), rates.begin(), rates.end());
    }
    m_projects->setCurrentIndex(0);
    m_activities->addItem(app.Texts().Text(TrayTexts::NoActivity), -1);
    m_activityRates = {-1};
    FillActivityCombo(db, *m_activities, m_activityRates);
    m_activities->setCurrentIndex(0);
    m_rates->addItem(app.Text(TextNoRate), -1);
    FillRateCombo(db, *m_rates);
    m_rates->setCurrentIndex(0);
    UpdateOkState();

    connect(m_projects, &QComboBox::currentIndexChanged, this, &CDlgTask::OnSelChangeProject);
    connect(m_activities, &QComboBox::currentIndexChanged, this, &CDlgTask::OnSelChangeActivity);
}

void CDlgTask::FillActivityCombo(CTrayDatabase &db, CReadOnlyCB &combo, std::vector<int> &rates)
{
    if (!db.IsOpen())
        return;
    SQLite::MyTablePtr t = db.Database().Query(u"Select * FROM Activites where Deleted=0 order by Ordre asc, Nom asc");
    if (!t.hasRows() || !t->MoveFirst())
        return;
    do {
        combo.addItem(t->GetValue(u"Nom"), t->GetInt(u"Id"));
        rates.push_back(t->GetIntOr(u"IdTauxHoraire", 0));
    } while (t->MoveNext());
}

void CDlgTask::FillRateCombo(CTrayDatabase &db, CReadOnlyCB &combo) const
{
    if (!db.IsOpen())
        return;
    SQLite::MyTablePtr t = db.Database().Query(u"Select * FROM TauxHoraire where Deleted=0 order by Id");
    if (!t.hasRows() || !t->MoveFirst())
        return;
    do {
        const QString name = t->GetValue(u"Nom");
        const double value = t->GetValue(u"Valeur").toDouble();
        const QString text = value == 0 ? name
                                        : name + QStringLiteral(" (") + m_app.Texts().CurrencyText(value)
                + u')';
        combo.addItem(text, t->GetInt(u"Id"));
    } while (t->MoveNext());
}

void CDlgTask::UpdateOkState()
{
    const bool chosen = m_projects->currentIndex() >= 1 || m_activities->currentIndex() >= 1;
    m_ok->setEnabled(chosen);
    m_warning->setVisible(!chosen);
}

void CDlgTask::SelectId(CReadOnlyCB *combo, int id)
{
    for (int i = 1; i < combo->count(); ++i) {
        if (combo->itemData(i).toInt() == id) {
            combo->setCurrentIndex(i);
            return;
        }
    }
}

void CDlgTask::OnSelChangeProject()
{
    UpdateOkState();
    const int i = m_projects->currentIndex();
    if (i < 1 || size_t(i) >= m_projectActivities.size())
        return;
    if (m_projectActivities[size_t(i)] != -1)
        SelectId(m_activities, m_projectActivities[size_t(i)]);
    if (m_projectRates[size_t(i)] != -1)
        SelectId(m_rates, m_projectRates[size_t(i)]);
}

void CDlgTask::OnSelChangeActivity()
{
    UpdateOkState();
    const int i = m_activities->currentIndex();
    if (i < 1 || size_t(i) >= m_activityRates.size() || m_activityRates[size_t(i)] == -1)
        return;
    SelectId(m_rates, m_activityRates[size_t(i)]);
}

void CDlgTask::accept()
{
    if (!m_ok->isEnabled())
        return;
    tTacheFull task;
    const auto id = [](const QComboBox *combo) { return combo->currentIndex() < 0 ? -1 : combo->currentData().toInt(); };
    task.IdProjet = id(m_projects);
    task.IdActivite = id(m_activities);
    task.IdTauxHoraire = id(m_rates);
    // The entry began when the dialog opened, not at OK.
    task.Debut = m_start;
    task.Fin = 0;
    task.Facture = m_invoiced->isChecked() ? 1 : 0;
    task.Title = m_title->text();
    task.Notes = m_notes->toPlainText();
    if (!TrayUserChange::StillCurrent(m_app, m_databasePath, this, TrayUserChange::Undone::Start)) {
        reject();
        return;
    }
    bool ok = false;
    {
        CTrayDatabase db(m_databasePath);
        ok = db.StartTask(task, -1);
    }
    if (!ok) {
        RichMessageBox(MessageBoxType::IconExclamation, this, m_app.Text(TextWriteFailed), m_app.Text(TextError));
        return;
    }
    QDialog::accept();
}
