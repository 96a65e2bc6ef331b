#pragma once
#include <QString>

namespace SQLite {
class CmyDataBase;
}

// The kinds of record whose name LookupRecordName reads.
enum RecordNameKind { RecordProject = 1, RecordActivity = 2, RecordRate = 3 };

// The column Nom of the project, activity or hourly rate `id` on the given
// connection, deleted or not; empty when there is no such row, for another
// kind, or without an open connection.
QString LookupRecordName(int id, int kind, SQLite::CmyDataBase *connection);
