#pragma once

class QGridLayout;
class QLineEdit;
class QWidget;

// The name of a user being made or edited, and below it the folder that
// name gives the user's files (read-only, following the name as it is
// typed), as the new-user wizard and the user dialog show them. The
// controls are made as children of the owner, in rows 0 to 2 of its grid,
// and carry their control ids for the owner's translation.
class UserNameRows
{
public:
    enum Control { NameLabel = 1003, NameEdit = 1004, FolderLabel = 1246, FolderEdit = 1039 };

    UserNameRows(QWidget *owner, QGridLayout *grid);

    QLineEdit *Name() const { return m_name; }
    QLineEdit *Folder() const { return m_folder; }

private:
    void ShowFolder();

    QLineEdit *m_name = nullptr;
    QLineEdit *m_folder = nullptr;
};
