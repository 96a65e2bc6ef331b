#include "COptForecast.h"

#include "CBitmapSlider.h"
#include "CConfiguration.h"
#include "CFormattedSpin.h"
#include "COptionsContext.h"
#include "CReadOnlyCB.h"
#include "Formatter.h"
#include "OptionPageTools.h"
#include "Settings.h"
#include "TranslateWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

using namespace OptionPageTools;

COptForecast::COptForecast(COptionsContext &context, QWidget *parent)
    : CPrefsSubDlg(DialogId, parent)
    , m_context(context)
{
}

void COptForecast::OnInitDialog()
{
    m_activities = Numbered(new QCheckBox(this), ActivitiesCheck);
    m_undefined = Numbered(new QCheckBox(this), UndefinedActivityCheck);
    auto *shareLabel = Numbered(new QLabel(this), ShareLabel);
    m_slider = Numbered(new CBitmapSlider(this), ShareSlider);
    m_slider->SetId(ShareSlider);
    m_slider->SetChannelBitmaps();
    m_slider->SetThumbBitmaps();
    m_slider->SetRange(0, 100);
    m_slider->SetPageSize(10);
    // The share is set with the arrows and the slider only, never typed.
    m_spin = Numbered(new CFormattedSpin(this), ShareSpin);
    m_spin->setRange(0, 100);
    m_spin->SetFormat([](int value) { return Platform::Formatter::sprintf(u"%d %%", {value}); });
    auto *showLabel = Numbered(new QLabel(this), ShowLabel);
    m_show = Numbered(new CReadOnlyCB(this), ShowCombo);
    showLabel->setBuddy(m_show);
    shareLabel->setBuddy(m_slider);
    m_workingDays = Numbered(new QCheckBox(this), WorkingDaysCheck);
    m_realTime = Numbered(new QCheckBox(this), RealTimeCheck);

    auto *undefinedRow = new QHBoxLayout;
    undefinedRow->addSpacing(fontMetrics().averageCharWidth() * 3);
    undefinedRow->addWidget(m_undefined);
    auto *shareRow = new QHBoxLayout;
    shareRow->addWidget(m_slider);
    shareRow->addWidget(m_spin);
    shareRow->addStretch(1);
    auto *showRow = new QHBoxLayout;
    showRow->addWidget(showLabel);
    showRow->addWidget(m_show);
    showRow->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_activities);
    layout->addLayout(undefinedRow);
    layout->addSpacing(fontMetrics().height() / 2);
    layout->addWidget(shareLabel);
    layout->addLayout(shareRow);
    layout->addSpacing(fontMetrics().height() / 2);
    layout->addLayout(showRow);
    layout->addWidget(m_workingDays);
    layout->addWidget(m_realTime);
    layout->addStretch(1);

    const CConfiguration &config = m_context.Config();
    m_slider->SetPos(config.pctNonComptabilise);
    m_spin->setValue(m_slider->GetPos());
    connect(m_slider, &CBitmapSlider::moving, this, [this](int, int position) { TakeSliderPosition(position); });
    connect(m_slider, &CBitmapSlider::moved, this, [this](int, int position) { TakeSliderPosition(position); });
    connect(m_spin, &CFormattedSpin::valueChanged, this, &COptForecast::TakeSpinValue);
    connect(m_activities, &QCheckBox::clicked, this, [this] { FollowActivities(); });

    TranslatePage();
    m_activities->setChecked(config.showActivities);
    FollowActivities();
    m_realTime->setChecked(config.realTime);
    m_workingDays->setChecked(config.fmtDays);
    m_initialised = true;
}

void COptForecast::TranslatePage()
{
    if (!IsCreated() || !m_activities)
        return;
    TranslateDialog(this, DialogId);
    const int shown = m_initialised && m_show->currentIndex() >= 0 ? m_show->currentData().toInt()
                                                                   : m_context.Config().iconOrText;
    FillTextCombo(m_show, QList<Platform::TextId>{590, 591, 592}, {0, 1, 2}, shown);
}

void COptForecast::FollowActivities()
{
    // Entries without activity can be a node only where activities are.
    const bool on = m_activities->isChecked();
    m_undefined->setEnabled(on);
    m_undefined->setChecked(on && m_context.Config().forecastRunningOnActivity);
}

void COptForecast::TakeSliderPosition(int position)
{
    const QSignalBlocker blocker(m_spin);
    m_spin->setValue(position);
}

void COptForecast::TakeSpinValue(int value)
{
    const int clamped = std::clamp(value, m_slider->GetRangeMin(), m_slider->GetRangeMax());
    m_slider->SetPos(clamped);
    if (clamped != value) {
        const QSignalBlocker blocker(m_spin);
        m_spin->setValue(clamped);
    }
}

void COptForecast::OnOK()
{
    CConfiguration &config = m_context.Config();
    config.showActivities = m_activities->isChecked();
    // Kept for this run of the program only.
    config.forecastRunningOnActivity = m_undefined->isChecked();
    config.iconOrText = m_show->currentIndex() >= 0 ? m_show->currentData().toInt() : 2;
    config.pctNonComptabilise = m_slider->GetPos();
    config.realTime = m_realTime->isChecked();
    config.fmtDays = m_workingDays->isChecked();
    Platform::Settings settings;
    settings.setInt(u"Config", u"Forecast", u"ShowActivities", config.showActivities ? 1 : 0);
    settings.setInt(u"Config", u"Forecast", u"IconOrText", config.iconOrText);
    settings.setInt(u"Config", u"Forecast", u"PctNonComptabilise", config.pctNonComptabilise);
    settings.setInt(u"Config", u"Forecast", u"Real Time", config.realTime ? 1 : 0);
    settings.setInt(u"Config", u"Forecast", u"FmtDays", config.fmtDays ? 1 : 0);
    settings.sync();
}
