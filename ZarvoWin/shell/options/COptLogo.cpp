#include "COptLogo.h"

#include "CConfiguration.h"
#include "COptionsContext.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "CReadOnlyCB.h"
#include "OptionPageTools.h"
#include "Settings.h"
#include "TranslateWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace OptionPageTools;

namespace {
// The logo file cannot be read as a picture.
constexpr int UnreadableLogoText = 26000;

// Labels of our own in front of the fields.
constexpr int LogoFileLabel = 20000;
constexpr int LogoPositionLabel = 20001;
constexpr int TextFileLabel = 20002;
constexpr int TextPositionLabel = 20003;

// A stored place 1 or 2 is that entry, anything else the first.
int positionEntry(int stored)
{
    return stored == 1 || stored == 2 ? stored : 0;
}
} // namespace

COptLogo::COptLogo(COptionsContext &context, QWidget *parent)
    : CPrefsSubDlg(DialogId, parent)
    , m_context(context)
{
}

void COptLogo::OnInitDialog()
{
    auto *grid = new QGridLayout;
    const auto makeRow = [&](Row &row, int check, int fileLabel, int edit, int browse, int positionLabel,
                             int combo, int top) {
        row.check = Numbered(new QCheckBox(this), check);
        row.file = Numbered(new QLineEdit(this), edit);
        row.browse = Numbered(new QPushButton(this), browse);
        row.position = Numbered(new CReadOnlyCB(this), combo);
        auto *label = Numbered(new QLabel(this), fileLabel);
        auto *placeLabel = Numbered(new QLabel(this), positionLabel);
        label->setBuddy(row.file);
        placeLabel->setBuddy(row.position);
        grid->addWidget(row.check, top, 0, 1, 3);
        grid->addWidget(label, top + 1, 0);
        grid->addWidget(row.file, top + 1, 1);
        grid->addWidget(row.browse, top + 1, 2);
        grid->addWidget(placeLabel, top + 2, 0);
        grid->addWidget(row.position, top + 2, 1, Qt::AlignLeft);
        connect(row.check, &QCheckBox::clicked, this, [this, &row] { EnableRow(row); });
    };
    makeRow(m_logo, LogoCheck, LogoFileLabel, LogoEdit, LogoBrowse, LogoPositionLabel, LogoPosition, 0);
    grid->setRowMinimumHeight(3, fontMetrics().height());
    makeRow(m_text, TextCheck, TextFileLabel, TextEdit, TextBrowse, TextPositionLabel, TextPosition, 4);
    grid->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);

    connect(m_logo.browse, &QPushButton::clicked, this, [this] {
        // Only a picture that the reports can draw is taken.
        Browse(m_logo, 361, [this](const QString &chosen) { return AcceptLogo(chosen); });
    });
    connect(m_text.browse, &QPushButton::clicked, this, [this] { Browse(m_text, 362, {}); });

    TranslatePage();
    const CConfiguration &config = m_context.Config();
    m_logo.check->setChecked(config.reportLogo);
    EnableRow(m_logo);
    m_logo.file->setText(config.reportLogoFile);
    m_text.check->setChecked(config.reportText);
    EnableRow(m_text);
    m_text.file->setText(config.reportTextFile);
    m_initialised = true;
}

void COptLogo::TranslatePage()
{
    if (!IsCreated() || !m_logo.check)
        return;
    TranslateDialog(this, DialogId);
    const CConfiguration &config = m_context.Config();
    const int logo = m_initialised ? m_logo.position->currentIndex() : positionEntry(config.reportLogoPos);
    const int text = m_initialised ? m_text.position->currentIndex() : positionEntry(config.reportTextPos);
    FillTextCombo(m_logo.position, QList<Platform::TextId>{363, 364, 365}, {}, logo);
    FillTextCombo(m_text.position, QList<Platform::TextId>{363, 364, 365}, {}, text);
}

void COptLogo::EnableRow(const Row &row)
{
    const bool on = row.check->isChecked();
    row.browse->setEnabled(on);
    row.position->setEnabled(on);
}

void COptLogo::Browse(const Row &row, int filterText, const std::function<bool(const QString &)> &accept)
{
    const QString chosen = m_context.OpenFileName(this, row.file->text(),
                                                  ConvertFileFilter(Platform::Texts::get(filterText)));
    if (!chosen.isEmpty() && (!accept || accept(chosen)))
        row.file->setText(chosen);
}

bool COptLogo::AcceptLogo(const QString &path)
{
    if (CConfiguration::IsDrawableLogo(path))
        return true;
    ShowPageMessage(this, MessageBoxType::IconExclamation,
                    Platform::Formatter::sprintf(Platform::Texts::get(UnreadableLogoText),
                                                 {QDir::toNativeSeparators(path)}));
    return false;
}

bool COptLogo::ValidatePage()
{
    // A logo shown needs a file the reports can draw: a path typed by hand
    // is checked as a chosen one is. An empty one shows no logo, as before.
    const QString logo = m_logo.file->text().trimmed();
    if (!m_logo.check->isChecked() || logo.isEmpty() || AcceptLogo(logo))
        return true;
    m_logo.file->setFocus();
    m_logo.file->selectAll();
    return false;
}

void COptLogo::OnOK()
{
    CConfiguration &config = m_context.Config();
    config.reportLogo = m_logo.check->isChecked();
    config.reportLogoFile = m_logo.file->text();
    config.reportLogoPos = std::max(0, m_logo.position->currentIndex());
    config.reportText = m_text.check->isChecked();
    config.reportTextFile = m_text.file->text();
    config.reportTextPos = std::max(0, m_text.position->currentIndex());
    Platform::Settings settings;
    settings.setInt(u"Config", u"Reports", u"Logo", config.reportLogo ? 1 : 0);
    settings.setString(u"Config", u"Reports", u"FicLogo", config.reportLogoFile);
    settings.setInt(u"Config", u"Reports", u"PosLogo", config.reportLogoPos);
    settings.setInt(u"Config", u"Reports", u"Text", config.reportText ? 1 : 0);
    settings.setString(u"Config", u"Reports", u"FicText", config.reportTextFile);
    settings.setInt(u"Config", u"Reports", u"PosText", config.reportTextPos);
    settings.sync();
}
