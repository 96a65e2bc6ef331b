#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// A text source: the texts of one program in one language, as a UTF-8 file
// kept in the repository (ZarvoWin/res/<Abbr>/<Program><Abbr>.txt) and made
// into a language database by the build. Its form (ZarvoWin/res/README.md):
//
//   # a comment
//   [Infos]
//   LangId = 1036
//   [StringTable]
//   173 = Erreur
//   664 = "Une erreur est survenue lors de la vérification du prédécesseur "
//   [Menu]
//   128 -1 = &Fichier
//   [Dialog]
//   370 -1 = Affichage
//
// One row per line, each table sorted by its keys, so that rows added by
// several people at once merge without conflicts. A text runs from the first
// character after "= " to the end of the line; a text that begins or ends
// with a blank is written between double quotes. The two characters "\n"
// stand for a line break, as in the language databases.
//
// The same reader serves the build tool, which writes the language databases
// and the compiled-in French tables, and the programs' tests.
class TextSource
{
public:
    enum class Table { Infos, StringTable, Menu, Dialog };

    struct Row
    {
        Table table = Table::StringTable;
        int key1 = 0;  // string id, menu id or dialog id
        int key2 = 0;  // 0 for strings; item id or control id
        QString name;  // the name of an Infos row
        QString text;
        int line = 0;
    };

    struct Problem
    {
        QString file;
        int line = 0;
        QString message;
        // "file:line: message", as compilers write them.
        QString ToString() const;
    };

    // Reads a file; false (with its problems) when it cannot be read or has
    // faults. A file with faults still keeps the rows that were sound.
    bool Read(const QString &path);
    bool Parse(const QByteArray &utf8, const QString &fileName);

    const QString &FileName() const { return m_fileName; }
    const std::vector<Row> &Rows() const { return m_rows; }
    const QList<Problem> &Problems() const { return m_problems; }

    // The row of a table with these keys (Infos rows by name), or nullptr.
    const Row *Find(Table table, int key1, int key2 = 0) const;
    const Row *FindInfo(QStringView name) const;

    // The inserts of a text, as a formatter reads them: printf-style
    // conversions ("%s", "%d", "%I64d", "%0.2f", "%02d") in their order,
    // then message-style inserts ("%1!d!", "%2!s!", "%1") sorted, since a
    // translation may place those in another order. "%%" and a '%' followed
    // by a blank ("% disponible") are plain text.
    static QStringList Inserts(QStringView text);

    // The faults of a translation against the French source: a row the
    // French has not, or a text whose inserts differ from the French one.
    static QList<Problem> CompareWithFrench(const TextSource &translation, const TextSource &french);

    static QString TableName(Table table);

private:
    void AddProblem(int line, const QString &message);

    QString m_fileName;
    std::vector<Row> m_rows;
    QList<Problem> m_problems;
};
