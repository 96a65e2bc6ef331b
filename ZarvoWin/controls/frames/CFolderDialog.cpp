#include "CFolderDialog.h"

#include "UnattendedDialogs.h"

#include <QFileDialog>

namespace {
CFolderDialog::Picker &picker()
{
    static CFolderDialog::Picker p;
    return p;
}

QString desktopPicker(QWidget *owner, const QString &title, const QString &initialFolder)
{
    // Nobody answers in an unattended process: told, and cancelled.
    if (UnattendedDialogs::Report(QStringLiteral("folder dialog \"%1\"").arg(title)))
        return QString();
    return QFileDialog::getExistingDirectory(owner, title, initialFolder, QFileDialog::ShowDirsOnly);
}
} // namespace

CFolderDialog::CFolderDialog(const QString &initialFolder, const QString &title, QWidget *parent)
    : m_initial(initialFolder)
    , m_title(title)
    , m_owner(parent)
    , m_chosen(initialFolder)
{
}

int CFolderDialog::DoModal()
{
    // The chosen folder changes only when a folder is chosen: browsing,
    // then cancelling, leaves the initial one.
    m_chosen = m_initial;
    const QString folder = picker() ? picker()(m_owner, m_title, m_initial) : desktopPicker(m_owner, m_title, m_initial);
    if (folder.isEmpty())
        return 2;
    m_chosen = folder;
    return 1;
}

void CFolderDialog::SetPicker(Picker p)
{
    picker() = std::move(p);
}
