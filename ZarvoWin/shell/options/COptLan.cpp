#include "COptLan.h"

#include "CConfiguration.h"
#include "CFolderDialog.h"
#include "COptionsContext.h"
#include "CReadOnlyCB.h"
#include "Formatter.h"
#include "OptionPageTools.h"
#include "Settings.h"
#include "TranslateWidgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

using namespace OptionPageTools;

namespace {
constexpr std::array<int, 9> times{-1, 0, 60, 300, 600, 900, 1200, 1800, 3600};
} // namespace

COptLan::COptLan(COptionsContext &context, QWidget *parent)
    : CPrefsSubDlg(DialogId, parent)
    , m_context(context)
{
}

int COptLan::TimeOfEntry(int entry)
{
    return entry >= 0 && entry < int(times.size()) ? times[size_t(entry)] : -1;
}

int COptLan::EntryOfTime(int time)
{
    const auto it = std::find(times.cbegin(), times.cend(), time);
    return it == times.cend() ? 0 : int(it - times.cbegin());
}

void COptLan::OnInitDialog()
{
    auto *folderLabel = Numbered(new QLabel(this), FolderLabel);
    m_folder = Numbered(new QLineEdit(this), FolderEdit);
    auto *browse = Numbered(new QPushButton(this), FolderBrowse);
    browse->setAutoDefault(false);
    auto *timeLabel = Numbered(new QLabel(this), TimeLabel);
    m_time = Numbered(new CReadOnlyCB(this), TimeCombo);
    folderLabel->setBuddy(m_folder);
    timeLabel->setBuddy(m_time);
    auto *grid = new QGridLayout;
    grid->addWidget(folderLabel, 0, 0, 1, 2);
    grid->addWidget(m_folder, 1, 0);
    grid->addWidget(browse, 1, 1);
    grid->setRowMinimumHeight(2, fontMetrics().height());
    grid->addWidget(timeLabel, 3, 0, 1, 2);
    grid->addWidget(m_time, 4, 0, Qt::AlignLeft);
    grid->setColumnStretch(0, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    connect(browse, &QPushButton::clicked, this, [this] {
        CFolderDialog dialog(m_folder->text(), Platform::Texts::get(172), this);
        if (dialog.DoModal() == 1)
            m_folder->setText(FolderWithSlash(dialog.GetFolderPath()));
    });

    TranslatePage();
    m_folder->setText(m_context.Config().lanFolder);
    m_initialised = true;
}

void COptLan::TranslatePage()
{
    if (!IsCreated() || !m_time)
        return;
    TranslateDialog(this, DialogId);
    const int entry = m_initialised ? m_time->currentIndex() : EntryOfTime(m_context.Config().lanTime);
    QStringList entries{Platform::Texts::get(200), Platform::Texts::get(201), Platform::Texts::get(202)};
    const QString every = Platform::Texts::get(203);
    for (const int minutes : {5, 10, 15, 20, 30})
        entries << Platform::Formatter::sprintf(every, {minutes});
    entries << Platform::Texts::get(204);
    FillCombo(m_time, entries, {}, entry);
}

void COptLan::OnOK()
{
    CConfiguration &config = m_context.Config();
    config.lanFolder = FolderWithSlash(m_folder->text());
    config.lanTime = TimeOfEntry(m_time->currentIndex());
    Platform::Settings settings;
    settings.setString(u"Config", u"Lan", u"Rep", config.lanFolder);
    settings.setInt(u"Config", u"Lan", u"Time", config.lanTime);
    settings.sync();
}
