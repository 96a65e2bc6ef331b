#include "CDlgBackup.h"

#include "CConfiguration.h"
#include "ContextHelp.h"
#include "CUsers.h"
#include "CZarvoWinApp.h"
#include "MessageBoxParams.h"
#include "OptionPageTools.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

using OptionPageTools::Numbered;

namespace {

constexpr int StampLength = 14;

// Widths of the columns in average characters (date, kind, size).
constexpr int ColumnChars[] = {20, 12, 16};

} // namespace

CDlgBackup::CDlgBackup(CZarvoWinApp &app, QWidget *parent)
    : QDialog(parent)
    , m_app(app)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_automaticText = Platform::Texts::get(403);
    m_manualText = Platform::Texts::get(404);

    m_icon = Numbered(new QLabel(this), WarningIcon);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    m_icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(iconSize));
    m_message = Numbered(new QLabel(this), Message);
    m_message->setWordWrap(true);
    m_configure = Numbered(new QPushButton(this), ConfigureButton);

    m_list = Numbered(new QTreeWidget(this), List);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels({Platform::Texts::get(140), Platform::Texts::get(402), Platform::Texts::get(405)});
    const Qt::Alignment aligns[] = {Qt::AlignRight | Qt::AlignVCenter, Qt::AlignCenter,
                                    Qt::AlignRight | Qt::AlignVCenter};
    for (int column = 0; column < 3; ++column)
        m_list->headerItem()->setTextAlignment(column, aligns[column]);
    m_list->header()->setStretchLastSection(true);

    m_delete = Numbered(new QPushButton(this), DeleteButton);
    m_restore = Numbered(new QPushButton(this), RestoreButton);
    m_backup = Numbered(new QPushButton(this), BackupButton);
    m_close = Numbered(new QPushButton(this), CloseButton);
    m_close->setDefault(true);

    auto *hint = new QHBoxLayout;
    hint->addWidget(m_icon, 0, Qt::AlignTop);
    hint->addWidget(m_message, 1);
    hint->addWidget(m_configure, 0, Qt::AlignTop);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_delete);
    buttons->addWidget(m_restore);
    buttons->addWidget(m_backup);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    auto *column = new QVBoxLayout(this);
    column->addLayout(hint);
    column->addWidget(m_list, 1);
    ContextHelp::AddButton(buttons, this);
    column->addLayout(buttons);

    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CDlgBackup::OnSelectionChanged);
    connect(m_delete, &QPushButton::clicked, this, &CDlgBackup::OnDelete);
    connect(m_restore, &QPushButton::clicked, this, &CDlgBackup::OnRestore);
    connect(m_backup, &QPushButton::clicked, this, &CDlgBackup::OnBackupNow);
    connect(m_configure, &QPushButton::clicked, this, &CDlgBackup::OnConfigure);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);

    TranslateDialog(this, DialogId);
    ContextHelp::Install(this, DialogId);
    ShowFolderState();
    Fill();
    m_delete->setEnabled(false);
    m_restore->setEnabled(false);
    // The size it opens with is the smallest it can be made.
    const int margins = layout()->contentsMargins().left() + layout()->contentsMargins().right();
    resize(sizeHint().expandedTo(QSize(m_list->minimumWidth() + margins, fontMetrics().height() * 20)));
    setMinimumSize(size());
}

CDlgBackup::~CDlgBackup() = default;

CDlgBackup::tBackupFile CDlgBackup::ReadName(const QString &fileName, const QString &extension)
{
    tBackupFile backup;
    backup.fileName = fileName;
    const qsizetype n = fileName.size() - extension.size();
    if (n - StampLength - 1 >= 0)
        backup.automatic = fileName.at(n - StampLength - 1).toUpper() == u'A';
    if (n - StampLength < 0)
        return backup;
    const QStringView stamp = QStringView(fileName).mid(n - StampLength, StampLength);
    const auto field = [&stamp](int from, int length) {
        bool ok = false;
        const int value = stamp.mid(from, length).toInt(&ok);
        return ok ? value : -1;
    };
    const QDate date(field(0, 4), field(4, 2), field(6, 2));
    const QTime time(field(8, 2), field(10, 2), field(12, 2));
    if (date.isValid() && time.isValid())
        backup.date = QDateTime(date, time);
    return backup;
}

QList<CDlgBackup::tBackupFile> CDlgBackup::ReadBackups(const QString &folder, const QString &databaseFileName)
{
    QList<tBackupFile> backups;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return backups;
    const qsizetype dot = databaseFileName.lastIndexOf(u'.');
    const QString base = dot < 0 ? databaseFileName : databaseFileName.left(dot);
    const QString extension = dot < 0 ? QString() : databaseFileName.mid(dot);
    const QFileInfoList files =
        QDir(folder).entryInfoList({base + QStringLiteral("_*") + extension}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QFileInfo &file : files) {
        tBackupFile backup = ReadName(file.fileName(), extension);
        backup.size = file.size();
        // Before the first backup not earlier than this one: of equal dates
        // the one found later comes first. No date sorts before any date.
        const auto earlier = [](const QDateTime &a, const QDateTime &b) {
            if (!a.isValid())
                return b.isValid();
            return b.isValid() && a < b;
        };
        qsizetype at = 0;
        while (at < backups.size() && earlier(backups.at(at).date, backup.date))
            ++at;
        backups.insert(at, backup);
    }
    return backups;
}

QString CDlgBackup::DatabaseFileName() const
{
    return QFileInfo(m_app.Users().GetCurrentDatabasePath(true)).fileName();
}

QString CDlgBackup::UserBackupFolder() const
{
    const QString root = m_app.Configuration().backupFolder;
    if (root.isEmpty())
        return QString();
    return QDir(root).filePath(m_app.Users().GetCurrentName()) + u'/';
}

void CDlgBackup::ShowFolderState()
{
    const QString root = m_app.Configuration().backupFolder;
    const bool exists = !root.isEmpty() && QFileInfo(root).isDir();
    if (!exists)
        m_message->setText(Platform::Texts::get(root.isEmpty() ? 407 : 408));
    m_icon->setVisible(!exists);
    m_message->setVisible(!exists);
    m_configure->setVisible(!exists);
    m_backup->setEnabled(exists);
}

void CDlgBackup::Fill()
{
    m_list->setUpdatesEnabled(false);
    {
        const QSignalBlocker quiet(m_list);
        m_list->clear();
    }
    m_backups.clear();
    m_selected = -1;
    const QString root = m_app.Configuration().backupFolder;
    if (!root.isEmpty() && QFileInfo(root).isDir())
        m_backups = ReadBackups(UserBackupFolder(), DatabaseFileName());
    const CConfiguration &settings = m_app.Configuration();
    for (const tBackupFile &backup : std::as_const(m_backups)) {
        auto *row = new QTreeWidgetItem(m_list);
        row->setText(0, settings.FormatOleDate(backup.date, true, true, true));
        row->setText(1, backup.automatic ? m_automaticText : m_manualText);
        // Bytes grouped by thousands, as the interface locale writes them.
        row->setText(2, settings.Locale().toString(backup.size));
        row->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        row->setTextAlignment(1, Qt::AlignCenter);
        row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    FitColumns();
    m_list->setUpdatesEnabled(true);
}

void CDlgBackup::FitColumns()
{
    // Every date, kind and size whole, and never narrower than the header.
    const QFontMetrics metrics = m_list->fontMetrics();
    // Room from the start for a long date (a long weekday and month name).
    const QString longDate = m_app.Configuration().FormatOleDate(
        QDateTime(QDate(2026, 9, 30), QTime(23, 59, 59)), true, true, true);
    int total = 0;
    for (int column = 0; column < 3; ++column) {
        int width = qMax(metrics.averageCharWidth() * ColumnChars[column],
                         metrics.horizontalAdvance(m_list->headerItem()->text(column)));
        if (column == 0)
            width = qMax(width, metrics.horizontalAdvance(longDate));
        for (int row = 0; row < m_list->topLevelItemCount(); ++row)
            width = qMax(width, metrics.horizontalAdvance(m_list->topLevelItem(row)->text(column)));
        width += 3 * metrics.averageCharWidth();
        m_list->setColumnWidth(column, width);
        total += width;
    }
    m_list->setMinimumWidth(total + 2 * m_list->frameWidth()
                            + m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list));
    // A date wider than any before widens the window with its list.
    if (isVisible() && width() < minimumSizeHint().width())
        resize(minimumSizeHint().width(), height());
}

void CDlgBackup::OnSelectionChanged()
{
    const QList<QTreeWidgetItem *> chosen = m_list->selectedItems();
    m_selected = chosen.isEmpty() ? -1 : m_list->indexOfTopLevelItem(chosen.front());
    m_delete->setEnabled(m_selected != -1);
    m_restore->setEnabled(m_selected != -1);
}

void CDlgBackup::SelectRow(int row)
{
    QTreeWidgetItem *item = m_list->topLevelItem(row);
    if (!item) {
        OnSelectionChanged();
        return;
    }
    m_list->setCurrentItem(item);
    item->setSelected(true);
    m_list->scrollToItem(item);
    OnSelectionChanged();
}

void CDlgBackup::OnDelete()
{
    if (m_selected < 0 || m_selected >= m_backups.size())
        return;
    const int row = m_selected;
    // A failed deletion shows itself: the refilled list still holds the file.
    QFile::remove(UserBackupFolder() + m_backups.at(row).fileName);
    Fill();
    SelectRow(row < m_backups.size() ? row : int(m_backups.size()) - 1);
}

int CDlgBackup::Warn(const QString &text, quint32 type)
{
    // A question has the question's icon, a failure the warning's.
    const bool question = (type & MessageBoxType::SetMask) == MessageBoxType::YesNo;
    const quint32 icon = question ? MessageBoxType::IconQuestion : MessageBoxType::IconExclamation;
    return RichMessageBox(type | icon, this, text, Platform::Texts::get(question ? 166 : 173));
}

void CDlgBackup::OnRestore()
{
    if (m_selected < 0 || m_selected >= m_backups.size())
        return;
    if (Warn(Platform::Texts::get(409), MessageBoxType::YesNo) != MessageBoxAnswer::Yes)
        return;
    if (!m_app.RestoreBackup(UserBackupFolder() + m_backups.at(m_selected).fileName))
        Warn(Platform::Texts::get(410), MessageBoxType::Ok);
}

void CDlgBackup::OnBackupNow()
{
    if (!m_app.BackupDatabase(true, -1, false, false)) {
        Warn(Platform::Texts::get(406), MessageBoxType::Ok);
        return;
    }
    Fill();
    if (QTreeWidgetItem *last = m_list->topLevelItem(m_list->topLevelItemCount() - 1))
        m_list->scrollToItem(last);
}

void CDlgBackup::OnConfigure()
{
    m_app.ShowOptions(BackupOptionsPage);
    ShowFolderState();
    Fill();
    OnSelectionChanged();
}
