#pragma once
// Readable failures: a QString in a test's message is shown as its text.
#include <QString>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
