#include "COptBackup.h"

#include "CConfiguration.h"
#include "CFolderDialog.h"
#include "COptionsContext.h"
#include "CReadOnlyCB.h"
#include "MessageBoxParams.h"
#include "OptionPageTools.h"
#include "Settings.h"
#include "TranslateWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace OptionPageTools;

namespace {
// Labels of our own.
constexpr int FrequencyLabel = 20000;
constexpr int KeepLabel = 20001;
constexpr int FolderLabel = 20002;

// Keep values 3..9 are the texts 353..359.
const QList<Platform::TextId> retentionTexts{353, 354, 355, 356, 357, 358, 359};
} // namespace

COptBackup::COptBackup(COptionsContext &context, QWidget *parent)
    : COptFolderPage(DialogId, context, parent)
{
}

int COptBackup::FirstKeepOffered(int frequencyEntry)
{
    // A backup is never kept for less time than the time between two.
    if (frequencyEntry <= 2)
        return 3;
    if (frequencyEntry <= 4)
        return 5;
    return 7;
}

int COptBackup::KeepShown(int keep, int frequencyEntry)
{
    return std::clamp(keep, FirstKeepOffered(frequencyEntry), 9);
}

void COptBackup::OnInitDialog()
{
    m_backup = Numbered(new QCheckBox(this), BackupCheck);
    m_frequency = Numbered(new CReadOnlyCB(this), FrequencyCombo);
    m_synchro = Numbered(new QCheckBox(this), SynchroCheck);
    m_keep = Numbered(new CReadOnlyCB(this), KeepCombo);
    m_folder = Numbered(new QLineEdit(this), FolderEdit);
    m_browse = Numbered(new QPushButton(this), FolderBrowse);
    m_browse->setAutoDefault(false);
    auto *frequencyLabel = Numbered(new QLabel(this), FrequencyLabel);
    auto *keepLabel = Numbered(new QLabel(this), KeepLabel);
    auto *folderLabel = Numbered(new QLabel(this), FolderLabel);
    frequencyLabel->setBuddy(m_frequency);
    keepLabel->setBuddy(m_keep);
    folderLabel->setBuddy(m_folder);

    auto *grid = new QGridLayout;
    grid->addWidget(m_backup, 0, 0, 1, 3);
    grid->addWidget(frequencyLabel, 1, 0);
    grid->addWidget(m_frequency, 1, 1);
    grid->addWidget(m_synchro, 2, 0, 1, 3);
    grid->addWidget(keepLabel, 3, 0);
    grid->addWidget(m_keep, 3, 1);
    grid->setRowMinimumHeight(4, fontMetrics().height());
    grid->addWidget(folderLabel, 5, 0, 1, 3);
    grid->addWidget(m_folder, 6, 0, 1, 2);
    grid->addWidget(m_browse, 6, 2);
    grid->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);

    connect(m_backup, &QCheckBox::clicked, this, [this] { EnableControls(); });
    connect(m_frequency, &QComboBox::currentIndexChanged, this, [this] { RebuildRetention(CurrentKeep()); });
    connect(m_browse, &QPushButton::clicked, this, [this] {
        CFolderDialog dialog(m_folder->text(), Platform::Texts::get(349), this);
        if (dialog.DoModal() == 1)
            m_folder->setText(FolderWithSlash(dialog.GetFolderPath()));
    });

    TranslatePage();
    const CConfiguration &config = m_context.Config();
    m_backup->setChecked(config.backup);
    EnableControls();
    m_synchro->setChecked(config.backupSynchro);
    m_folder->setText(config.backupFolder);
    m_initialised = true;
}

void COptBackup::TranslatePage()
{
    if (!IsCreated() || !m_backup)
        return;
    TranslateDialog(this, DialogId);
    const int stored = m_context.Config().backupPeriode;
    const int frequency = m_initialised ? m_frequency->currentIndex() : (stored >= 0 && stored <= 5 ? stored : 3);
    const int keep = CurrentKeep();
    FillTextCombo(m_frequency, QList<Platform::TextId>{350, 351, 352, 353, 354, 355}, {}, frequency);
    RebuildRetention(keep);
}

int COptBackup::CurrentKeep() const
{
    if (m_keep->count() > 0 && m_keep->currentIndex() >= 0)
        return m_keep->currentData().toInt();
    return m_context.Config().backupKeep;
}

void COptBackup::RebuildRetention(int keep)
{
    const int frequency = std::max(0, m_frequency->currentIndex());
    QList<Platform::TextId> texts;
    QList<int> values;
    for (int k = FirstKeepOffered(frequency); k <= 9; ++k) {
        texts << retentionTexts[k - 3];
        values << k;
    }
    FillTextCombo(m_keep, texts, values, KeepShown(keep, frequency));
}

void COptBackup::EnableControls()
{
    const bool on = m_backup->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{m_frequency, m_synchro, m_keep, m_browse})
        w->setEnabled(on);
}

bool COptBackup::ValidatePage()
{
    m_plan.Clear();
    if (!m_backup->isChecked())
        return true;
    const CConfiguration &config = m_context.Config();
    const QString folder = FolderWithSlash(m_folder->text());
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        ShowPageMessage(this, MessageBoxType::IconExclamation, Platform::Texts::get(360));
        return false;
    }
    if (FolderMovePlan::SameFolder(folder, config.backupFolder) || !QFileInfo(config.backupFolder).isDir())
        return true;
    const int answer = AskToMoveFiles(this, config.backupFolder, folder);
    if (answer == MessageBoxAnswer::Cancel || answer == MessageBoxAnswer::Failed)
        return false;
    if (answer != MessageBoxAnswer::Yes)
        return true; // stored without moving anything
    // The backup folder of every user listed.
    FolderMovePlan plan;
    FolderMovePlan::Move move;
    move.source = config.backupFolder;
    move.target = folder;
    move.entries = m_context.UserNames();
    move.privateTarget = true;
    plan.Add(move);
    if (!CheckMoves(this, plan))
        return false;
    m_plan.Add(move);
    return true;
}



void COptBackup::OnOK()
{
    CConfiguration &config = m_context.Config();
    const BackupValues before{config.backup, config.backupPeriode, config.backupSynchro, config.backupKeep,
                              config.backupFolder};
    BackupValues chosen;
    chosen.backup = m_backup->isChecked();
    // Entry i is the period code i ("Un jour" is 0).
    chosen.periode = std::max(0, m_frequency->currentIndex());
    chosen.synchro = m_synchro->isChecked();
    chosen.keep = KeepShown(CurrentKeep(), chosen.periode);
    chosen.folder = FolderWithSlash(m_folder->text());
    m_switched = WriteSettingsChecked([&](Platform::Settings &s) { chosen.Write(s); },
                                      [&](Platform::Settings &s) { before.Write(s); });
    if (!m_switched)
        return;
    config.backup = chosen.backup;
    config.backupPeriode = chosen.periode;
    config.backupSynchro = chosen.synchro;
    config.backupKeep = chosen.keep;
    config.backupFolder = chosen.folder;
}

void COptBackup::BackupValues::Write(Platform::Settings &s) const
{
    s.setInt(u"Config", u"Backup", u"Backup", backup ? 1 : 0);
    s.setInt(u"Config", u"Backup", u"Periode", periode);
    s.setInt(u"Config", u"Backup", u"Synchro", synchro ? 1 : 0);
    s.setInt(u"Config", u"Backup", u"Keep", keep);
    s.setString(u"Config", u"Backup", u"Rep", folder);
}


