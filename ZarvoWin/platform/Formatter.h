#pragma once
#include "FormatArg.h"

#include <QString>
#include <initializer_list>

namespace Platform {

// Composition of texts from the printf-style formats ("%d", "%I64d",
// "%0.2f", "%02d", "%s", ...) and message-style formats ("%1!d!",
// "%2!02d!", "%3!s!", "%1") used throughout the program.
//
// Numbers are always written with the C conventions (decimal point, no
// grouping), whatever the process locale: the results go into SQL
// statements and files that are parsed again. A conversion without an
// argument is copied as it stands; surplus arguments are ignored.
class Formatter
{
public:
    static QString sprintf(QStringView format, std::initializer_list<FormatArg> args);
    static QString message(QStringView format, std::initializer_list<FormatArg> args);

    // One conversion of the printf family applied to one argument. `conv`
    // is the conversion without its leading '%' ("d", "02d", "0.2f", "I64d").
    static QString convert(QStringView conv, const FormatArg &arg);
};

} // namespace Platform
