#include "COptFormat.h"

#include "CConfiguration.h"
#include "COptionsContext.h"
#include "CReadOnlyCB.h"
#include "Clock.h"
#include "Formatter.h"
#include "OptionPageTools.h"
#include "Settings.h"
#include "TranslateWidgets.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace OptionPageTools;

namespace {
// Labels of our own in front of the two lists.
constexpr int DurationLabel = 20000;
constexpr int DateLabel = 20001;
} // namespace

COptFormat::COptFormat(COptionsContext &context, QWidget *parent)
    : CPrefsSubDlg(DialogId, parent)
    , m_context(context)
{
}

void COptFormat::OnInitDialog()
{
    auto *form = new QFormLayout;
    m_duration = Numbered(new CReadOnlyCB(this), DurationCombo);
    m_durationExample = Numbered(new QLabel(this), DurationExample);
    m_date = Numbered(new CReadOnlyCB(this), DateCombo);
    m_dateExample = Numbered(new QLabel(this), DateExample);
    auto *durationLabel = Numbered(new QLabel(this), DurationLabel);
    auto *dateLabel = Numbered(new QLabel(this), DateLabel);
    durationLabel->setBuddy(m_duration);
    dateLabel->setBuddy(m_date);
    form->addRow(durationLabel, m_duration);
    form->addRow(QString(), m_durationExample);
    form->addRow(dateLabel, m_date);
    form->addRow(QString(), m_dateExample);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);

    connect(m_duration, &QComboBox::currentIndexChanged, this, [this] { ShowDurationExample(); });
    connect(m_date, &QComboBox::currentIndexChanged, this, [this] { ShowDateExample(); });
    TranslatePage();
    m_initialised = true;
}

void COptFormat::TranslatePage()
{
    if (!IsCreated() || !m_duration)
        return;
    TranslateDialog(this, DialogId);
    const CConfiguration &config = m_context.Config();

    // Each text is a description, '|' and the pattern; a text without '|'
    // offers no entry, and the others keep their place as item data.
    static const Platform::TextId durationTexts[] = {211, 212, 213};
    const int duration = m_initialised && m_duration->currentIndex() >= 0 ? m_duration->currentData().toInt()
                                                                          : config.durationCode;
    QStringList entries;
    QList<int> values;
    m_patterns.clear();
    for (int i = 0; i < 3; ++i) {
        const QString text = Platform::Texts::get(durationTexts[i]);
        const qsizetype bar = text.indexOf(u'|');
        if (bar < 0)
            continue;
        entries << text.left(bar);
        values << i;
        m_patterns << text.mid(bar + 1);
    }
    FillCombo(m_duration, entries, values, duration);

    const int date = m_initialised ? m_date->currentIndex() : (config.longDates ? 1 : 0);
    FillTextCombo(m_date, QList<Platform::TextId>{461, 462}, {}, date);
    ShowDurationExample();
    ShowDateExample();
}

void COptFormat::ShowDurationExample()
{
    const int entry = m_duration->currentIndex();
    if (entry < 0 || entry >= m_patterns.size()) {
        m_durationExample->clear();
        return;
    }
    const QString example = Platform::Formatter::message(m_patterns[entry], {2, 42});
    m_durationExample->setText(Platform::Formatter::sprintf(Platform::Texts::get(214), {example}));
}

void COptFormat::ShowDateExample()
{
    const int entry = m_date->currentIndex();
    if (entry < 0) {
        m_dateExample->clear();
        return;
    }
    const bool asLong = entry == 1;
    const QString date = m_context.Config().FormatDate(Platform::Clock::now(), asLong, false, asLong);
    m_dateExample->setText(Platform::Formatter::sprintf(Platform::Texts::get(214), {date}));
}

void COptFormat::OnOK()
{
    CConfiguration &config = m_context.Config();
    bool changed = false;
    if (m_duration->currentIndex() >= 0) {
        const int code = m_duration->currentData().toInt();
        if (code != config.durationCode) {
            config.durationCode = code;
            config.LoadDurationFormat();
            changed = true;
        }
    }
    if (m_date->currentIndex() >= 0) {
        const bool asLong = m_date->currentIndex() == 1;
        if (asLong != config.longDates) {
            config.longDates = asLong;
            changed = true;
        }
    }
    if (!changed)
        return;
    Platform::Settings settings;
    settings.setInt(u"Config", u"Format", u"Duree", config.durationCode);
    settings.setString(u"Config", u"Format", u"sDuree", config.durationPattern);
    settings.setInt(u"Config", u"Format", u"Date", config.longDates ? 1 : 0);
    settings.sync();
    // The tray companion reads the formats again.
    m_context.PostChange(4);
}
