#include "CWizardInit2.h"

#include "CFolderDialog.h"
#include "CWizardFrame.h"
#include "FileModes.h"
#include "Formatter.h"
#include "OptionPageTools.h"
#include "Settings.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

using OptionPageTools::Numbered;

CWizardInit2::CWizardInit2(QWidget *parent)
    : CWizardPage(DialogId, parent)
{
}

QString CWizardInit2::ProposedFolder()
{
    for (const auto location : {QStandardPaths::DocumentsLocation, QStandardPaths::GenericDataLocation}) {
        const QString folder = QStandardPaths::writableLocation(location);
        if (!folder.isEmpty())
            return QDir(folder).filePath(QStringLiteral("Zarvo")) + u'/';
    }
    return QString();
}

bool CWizardInit2::HoldsInstallation(const QString &root)
{
    const QString folder = OptionPageTools::FolderWithSlash(root);
    return !folder.isEmpty() && QDir::isAbsolutePath(folder)
           && QFileInfo(folder + QStringLiteral("Users/Users.sdb")).isFile();
}

void CWizardInit2::OnInitDialog()
{
    QVBoxLayout *column = BuildFrame(PictureId, true);
    column->addWidget(WrappedText(IntroText));
    column->addSpacing(fontMetrics().height());
    auto *label = Numbered(new QLabel(this), FolderLabel);
    column->addWidget(label);
    m_folder = Numbered(new QLineEdit(this), FolderEdit);
    m_browse = Numbered(new QPushButton(this), BrowseButton);
    m_browse->setAutoDefault(false);
    label->setBuddy(m_folder);
    auto *row = new QHBoxLayout;
    row->addWidget(m_folder, 1);
    row->addWidget(m_browse);
    column->addLayout(row);
    column->addStretch(1);
    connect(m_browse, &QPushButton::clicked, this, &CWizardInit2::Browse);
    // A folder typed in counts as one picked.
    connect(m_folder, &QLineEdit::textEdited, this, &CWizardInit2::TellFrame);

    TranslatePage();
    m_folder->setText(QDir::toNativeSeparators(ProposedFolder()));
    if (HoldsInstallation(m_folder->text()))
        CWizardFrame::PostNextState(this, false);
}

void CWizardInit2::TranslatePage()
{
    if (!IsCreated() || !m_folder)
        return;
    TranslateDialog(this, DialogId);
}

void CWizardInit2::TellFrame()
{
    CWizardFrame::PostNextState(this, !HoldsInstallation(m_folder->text()));
}

void CWizardInit2::Browse()
{
    CFolderDialog dialog(m_folder->text(), Platform::Texts::get(172), this);
    if (dialog.DoModal() != 1)
        return;
    m_folder->setText(QDir::toNativeSeparators(OptionPageTools::FolderWithSlash(dialog.GetFolderPath())));
    TellFrame();
}

bool CWizardInit2::ValidatePage()
{
    // Only an absolute folder is stored: a relative one would follow the
    // program's working folder from one start to the next.
    const QString root = OptionPageTools::FolderWithSlash(m_folder->text());
    if (root.isEmpty() || !QDir::isAbsolutePath(root)) {
        Warn(Platform::Texts::get(172));
        m_folder->setFocus();
        return false;
    }
    // The users' databases and their backups are made for their owner
    // alone; the report templates follow the umask, as any document.
    const auto makeFolder = [this](const QString &folder, bool privateFolder) {
        if (QFileInfo(folder).isDir()
            || (privateFolder ? Platform::FileModes::MakePrivateFolder(folder) : QDir().mkpath(folder)))
            return true;
        Warn(Platform::Formatter::sprintf(Platform::Texts::get(399), {QDir::toNativeSeparators(folder)}));
        return false;
    };
    Platform::Settings settings;
    const QString users = root + QStringLiteral("Users/");
    settings.setString(u"Config", u"Rep", u"Users", users);
    settings.sync();
    if (!makeFolder(users, true))
        return false;
    const QString templates = root + QStringLiteral("Templates/");
    settings.setString(u"Config", u"Rep", u"Data", templates);
    settings.sync();
    if (!makeFolder(templates, false))
        return false;
    const QString backups = root + QStringLiteral("Backup/");
    settings.setString(u"Config", u"Backup", u"Rep", backups);
    settings.sync();
    return makeFolder(backups, true);
}
