// Build tool: runs an SQL script into a new SQLite file.
//   zarvo_sql_to_db <script.sql> <database.sdb>
// The database is written beside its target under a temporary name and
// renamed over it only when the whole script ran, so a failed build never
// leaves a half-made file that looks finished.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: " << argv[0] << " <script.sql> <database.sdb>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": cannot be read\n";
        return 1;
    }
    std::ostringstream script;
    script << in.rdbuf();

    const std::string target = argv[2];
    const std::string temp = target + ".tmp";
    std::remove(temp.c_str());
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        std::cerr << temp << ": " << (db ? sqlite3_errmsg(db) : "cannot be created") << "\n";
        sqlite3_close(db);
        return 1;
    }
    char *error = nullptr;
    const int rc = sqlite3_exec(db, script.str().c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::cerr << argv[1] << ": " << (error ? error : "SQL error") << "\n";
        sqlite3_free(error);
        sqlite3_close(db);
        std::remove(temp.c_str());
        return 1;
    }
    if (sqlite3_close(db) != SQLITE_OK) {
        std::cerr << temp << ": cannot be closed\n";
        return 1;
    }
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        std::cerr << target << ": cannot be written\n";
        std::remove(temp.c_str());
        return 1;
    }
    return 0;
}
