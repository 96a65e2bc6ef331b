#pragma once
#include <QString>

#include <functional>

// Where the users' folders are, and which names can be users' names (a
// user's name is also the name of the user's folder). Below both the user
// record, whose folder and paths it gives, and the users list.
namespace UsersFolder {

// The users folder, ending with "/" (empty when not set). Read from the
// settings (Config/Rep/Users) unless a source was installed.
QString Path();
void SetSource(std::function<QString()> source);

// Why a name cannot be a user's name.
enum class NameProblem { None, Empty, Dots, Separator, ControlCharacter, TooLong };
NameProblem CheckName(const QString &name);

} // namespace UsersFolder
