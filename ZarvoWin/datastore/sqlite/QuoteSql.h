#pragma once
#include <QString>

// Doubles every single quote so that the text can stand inside an SQL
// string literal. The only escaping the program applies: every text value
// put into a statement goes through it.
QString QuoteSql(QStringView text);
