#pragma once
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// A list of time-entry ids as the report window hands it over: SQL text in
// parentheses, for example "(12,15,31)", used after "in". The text is
// checked to be exactly such a list of integers before any of it reaches a
// statement, and is then rebuilt from the numbers.
namespace EntryList {

// The ids of `text`: "(" then integers separated by commas then ")",
// blanks allowed around each part. An empty (or blank) text and "()" give
// no ids. Anything else (a word, an operator, a quote, a number that does
// not fit an int) gives nothing.
std::optional<std::vector<int>> Parse(QStringView text);

// "(a,b,c)" of the ids, in C-locale digits.
QString ToSql(const std::vector<int> &ids);

} // namespace EntryList
