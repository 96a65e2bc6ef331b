#include "UsersFolder.h"

#include "Settings.h"

#include <QFile>

namespace UsersFolder {

namespace {
std::function<QString()> &source()
{
    static std::function<QString()> s;
    return s;
}
} // namespace

QString Path()
{
    QString folder;
    if (source())
        folder = source()();
    else
        folder = Platform::Settings().getString(u"Config", u"Rep", u"Users");
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

void SetSource(std::function<QString()> s)
{
    source() = std::move(s);
}

NameProblem CheckName(const QString &name)
{
    if (name.isEmpty())
        return NameProblem::Empty;
    if (name == u"." || name == u"..")
        return NameProblem::Dots;
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\')
            return NameProblem::Separator;
        if (c.category() == QChar::Other_Control)
            return NameProblem::ControlCharacter;
    }
    // A folder name is at most 255 bytes on the usual file systems.
    if (QFile::encodeName(name).size() > 255)
        return NameProblem::TooLong;
    return NameProblem::None;
}

} // namespace UsersFolder
