#include "CDlgOptions.h"

#include "CReadOnlyCB.h"
#include "CTranslationStore.h"
#include "CZarvoTrayApp.h"
#include "ContextHelp.h"
#include "Formatter.h"
#include "HelpTopics.h"
#include "MessageBoxParams.h"
#include "RichMessageBox.h"
#include "Settings.h"
#include "TranslateWidgets.h"
#include "TrayAutostart.h"
#include "UiUtilities.h"
#include "WidgetIds.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {

template <typename W>
W *numbered(W *widget, int id)
{
    WidgetIds::SetControlId(widget, id);
    return widget;
}

// The two lists' choices: text and stored value, in the order shown.
struct Choice
{
    int text;
    int value;
};
const Choice LeftClickChoices[] = {{CDlgOptions::TextShowWindow, 0}, {CDlgOptions::TextShowInfos, 3},
                                   {CDlgOptions::TextStartZarvo, 1}, {CDlgOptions::TextNewTask, 2}};
const Choice ResumeChoices[] = {{CDlgOptions::TextNothing, 0}, {CDlgOptions::TextRestartTask, 1},
                                {CDlgOptions::TextShowInfos, 2}, {CDlgOptions::TextShowWindow, 3}};

template <size_t N>
void fill(CReadOnlyCB *combo, const Choice (&choices)[N], int value, CZarvoTrayApp &app)
{
    int selected = 0; // the first for a value out of range
    for (size_t i = 0; i < N; ++i) {
        combo->addItem(app.Text(choices[i].text), choices[i].value);
        if (choices[i].value == value)
            selected = int(i);
    }
    combo->setCurrentIndex(selected);
}

// The pane switches: control, setting name, member.
struct PaneSwitch
{
    int control;
    const char16_t *name;
    bool TraySettings::*setting;
};
const PaneSwitch Panes[] = {
    {CDlgOptions::ShowToolBar, u"ShowToolBar", &TraySettings::showToolBar},
    {CDlgOptions::ShowResume, u"ShowResume", &TraySettings::showResume},
    {CDlgOptions::ShowDay, u"ShowDay", &TraySettings::showDay},
    {CDlgOptions::ShowTask, u"ShowTask", &TraySettings::showTask},
    {CDlgOptions::ShowFav, u"ShowFav", &TraySettings::showFav},
};

} // namespace

CDlgOptions::CDlgOptions(CZarvoTrayApp &app, QWidget *parent)
    : QDialog(parent)
    , m_app(app)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const TraySettings &s = app.Settings();
    auto *column = new QVBoxLayout(this);
    for (int id : {StartWithSession, AutoHide, AutoHideInfos})
        column->addWidget(numbered(new QCheckBox(this), id));

    auto *clickLabel = numbered(new QLabel(this), LeftClickLabel);
    m_leftClick = numbered(new CReadOnlyCB(this), LeftClickList);
    clickLabel->setBuddy(m_leftClick);
    column->addWidget(clickLabel);
    column->addWidget(m_leftClick);

    column->addWidget(numbered(new QLabel(this), OpacityLabel));
    auto *sliderRow = new QHBoxLayout;
    m_opacity = numbered(new QSlider(Qt::Horizontal, this), OpacitySlider);
    m_opacity->setRange(1, 255);
    m_opacity->setPageStep(16);
    sliderRow->addWidget(numbered(new QLabel(this), TransparentLabel));
    sliderRow->addWidget(m_opacity, 1);
    sliderRow->addWidget(numbered(new QLabel(this), OpaqueLabel));
    column->addLayout(sliderRow);

    auto *panes = numbered(new QGroupBox(this), WindowGroup);
    auto *paneGrid = new QGridLayout(panes);
    for (size_t i = 0; i < std::size(Panes); ++i)
        paneGrid->addWidget(numbered(new QCheckBox(panes), Panes[i].control), int(i) / 2, int(i) % 2);
    column->addWidget(panes);

    auto *standby = numbered(new QGroupBox(this), StandbyGroup);
    auto *standbyColumn = new QVBoxLayout(standby);
    auto *endTask = numbered(new QCheckBox(standby), EndTaskOnStandby);
    standbyColumn->addWidget(endTask);
    auto *resumeLabel = numbered(new QLabel(standby), ResumeLabel);
    m_resume = numbered(new CReadOnlyCB(standby), ResumeList);
    resumeLabel->setBuddy(m_resume);
    standbyColumn->addWidget(resumeLabel);
    standbyColumn->addWidget(m_resume);
    column->addWidget(standby);

    auto *ok = numbered(new QPushButton(this), OkButton);
    ok->setDefault(true);
    auto *cancel = numbered(new QPushButton(this), CancelButton);
    column->addStretch(1);
    QHBoxLayout *buttons = ButtonRow({ok, cancel});
    column->addLayout(buttons);
    ContextHelp::Install(this, [] { return quint32(HelpTopics::TrayOptionsTopic); });
    ContextHelp::AddButton(buttons, this);
    connect(ok, &QPushButton::clicked, this, &CDlgOptions::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgOptions::reject);
    connect(endTask, &QCheckBox::clicked, this, &CDlgOptions::OnClickEndTaskOnStandby);
    connect(m_opacity, &QSlider::valueChanged, this, &CDlgOptions::OnSliderMoved);

    CTranslationStore texts(app.Languages(), CTranslationStore::Program::Tray);
    TranslateDialogWithStore(this, texts, DialogId);

    m_startedWithSession = app.IsStartWithWindows();
    Check(StartWithSession)->setChecked(m_startedWithSession);
    Check(AutoHide)->setChecked(s.autoHide);
    Check(AutoHideInfos)->setChecked(s.autoHideInfos);
    endTask->setChecked(s.endTaskOnStandby);
    fill(m_resume, ResumeChoices, s.actionOnRestart, app);
    fill(m_leftClick, LeftClickChoices, s.leftClick, app);
    OnClickEndTaskOnStandby();
    {
        const QSignalBlocker quiet(m_opacity);
        m_opacity->setValue(std::clamp(s.opacity, 1, 255));
    }
    for (const PaneSwitch &pane : Panes)
        Check(pane.control)->setChecked(s.*pane.setting);
}

QCheckBox *CDlgOptions::Check(int id) const
{
    for (QCheckBox *box : findChildren<QCheckBox *>())
        if (WidgetIds::ControlId(box) == id)
            return box;
    return nullptr;
}

void CDlgOptions::OnSliderMoved(int value)
{
    m_app.SetOpacity(value, true);
}

void CDlgOptions::OnClickEndTaskOnStandby()
{
    m_resume->setEnabled(Check(EndTaskOnStandby)->isChecked());
}

void CDlgOptions::reject()
{
    // Undo the preview.
    m_app.SetOpacity(m_app.Settings().opacity, true);
    QDialog::reject();
}

void CDlgOptions::accept()
{
    bool anyPane = false;
    for (const PaneSwitch &pane : Panes)
        anyPane = anyPane || Check(pane.control)->isChecked();
    if (!anyPane) {
        RichMessageBox(MessageBoxType::IconExclamation, this, m_app.Text(TextNoView), m_app.Text(TextError));
        return;
    }
    const bool startWithSession = Check(StartWithSession)->isChecked();
    // An entry that could not be written or removed is told; the other
    // choices are kept all the same.
    if (startWithSession != m_startedWithSession && !m_app.SetStartWithWindows(startWithSession)) {
        const QString entry = QDir::toNativeSeparators(TrayAutostart::EntryPath());
        RichMessageBox(MessageBoxType::IconExclamation, this,
                       Platform::Formatter::sprintf(
                           m_app.Text(startWithSession ? TextAutostartNotWritten : TextAutostartNotRemoved), {entry}),
                       m_app.Text(TextError));
    }

    TraySettings &s = m_app.Settings();
    Platform::Settings stored;
    const auto writeFlag = [&](bool &setting, int control, const char16_t *name) {
        const bool now = Check(control)->isChecked();
        if (now == setting)
            return false;
        setting = now;
        stored.setInt(u"Tray", u"Config", name, now ? 1 : 0);
        return true;
    };
    const auto writeChoice = [&](int &setting, const CReadOnlyCB *combo, const char16_t *name) {
        if (combo->currentIndex() < 0)
            return;
        const int value = combo->currentData().toInt();
        if (value == setting)
            return;
        setting = value;
        stored.setInt(u"Tray", u"Config", name, value);
    };
    writeFlag(s.autoHide, AutoHide, u"AutoHide");
    writeFlag(s.autoHideInfos, AutoHideInfos, u"AutoHideInfos");
    writeFlag(s.endTaskOnStandby, EndTaskOnStandby, u"EndTaskOnStandby");
    writeChoice(s.leftClick, m_leftClick, u"LeftClick");
    writeChoice(s.actionOnRestart, m_resume, u"ActionOnRestart");
    m_app.SetOpacity(m_opacity->value(), false);
    stored.setInt(u"Tray", u"Config", u"Opacity", m_opacity->value());
    m_layoutChanged = false;
    for (const PaneSwitch &pane : Panes)
        m_layoutChanged = writeFlag(s.*pane.setting, pane.control, pane.name) || m_layoutChanged;
    QDialog::accept();
}
