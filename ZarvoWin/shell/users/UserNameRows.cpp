#include "UserNameRows.h"

#include "CUsers.h"
#include "NewUserFiles.h"
#include "OptionPageTools.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using OptionPageTools::Numbered;

UserNameRows::UserNameRows(QWidget *owner, QGridLayout *grid)
{
    auto *nameLabel = Numbered(new QLabel(owner), NameLabel);
    // The name is kept as typed; what cannot be a folder's name is refused
    // with the reason by the owner's OK.
    m_name = Numbered(new QLineEdit(owner), NameEdit);
    m_name->setMaxLength(NewUserFiles::MaxNameLength);
    nameLabel->setBuddy(m_name);
    auto *folderLabel = Numbered(new QLabel(owner), FolderLabel);
    m_folder = Numbered(new QLineEdit(owner), FolderEdit);
    m_folder->setReadOnly(true);
    m_folder->setFocusPolicy(Qt::ClickFocus);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(folderLabel, 1, 0, 1, 2);
    grid->addWidget(m_folder, 2, 0, 1, 2);
    QObject::connect(m_name, &QLineEdit::textChanged, m_name, [this] { ShowFolder(); });
    ShowFolder();
}

void UserNameRows::ShowFolder()
{
    m_folder->setText(QDir::toNativeSeparators(CUsers::GetUsersFolder() + m_name->text()));
}
