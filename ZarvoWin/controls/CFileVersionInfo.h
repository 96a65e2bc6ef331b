#pragma once
#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>

// The version information of the program: the fixed record (versions as
// two 32-bit halves, a<<16|b and c<<16|d of the version a.b.c.d set in
// CMake) and twelve texts kept in a table of ours. Only the running
// program has a version block; any other file has none.
class CFileVersionInfo
{
public:
    struct FixedInfo
    {
        quint32 signature = 0;
        quint32 structVersion = 0;
        quint32 fileVersionMS = 0;
        quint32 fileVersionLS = 0;
        quint32 productVersionMS = 0;
        quint32 productVersionLS = 0;
        quint32 flagsMask = 0;
        quint32 flags = 0;
        quint32 os = 0;
        quint32 type = 0;
        quint32 subtype = 0;
        quint32 dateMS = 0;
        quint32 dateLS = 0;
        bool operator==(const FixedInfo &) const = default;
    };
    // The texts, in the order they are kept.
    enum Text {
        CompanyName,
        FileDescription,
        FileVersion,
        InternalName,
        LegalCopyright,
        OriginalFileName,
        ProductName,
        ProductVersion,
        Comments,
        LegalTrademarks,
        PrivateBuild,
        SpecialBuild,
        TextCount
    };
    // One language of a version block: a language id and a code page.
    struct Translation
    {
        quint16 language;
        quint16 codePage;
    };

    CFileVersionInfo();
    virtual ~CFileVersionInfo();

    // Everything zero and empty.
    virtual void Reset();
    // Reads the running program's own version; true on success.
    bool Create();
    // Reads the version of `path`: only the running program's own file
    // has one; for any other, false with everything reset.
    bool Create(const QString &path);

    const FixedInfo &Fixed() const { return m_fixed; }
    QString GetText(Text which) const { return m_texts[which]; }
    // The key of a text in a version block ("CompanyName" ...).
    static QString TextKey(Text which);

    // Which language of a block to read for a user of `userLanguage`: the
    // first entry of that language, else the first of its primary
    // language (low byte), else the neutral language 0, else English
    // (primary 9), else the first; -1 for an empty list.
    static int ChooseTranslation(const QList<Translation> &translations, quint16 userLanguage);
    // The user's language as a language id (primary language in the low
    // byte), from the system locale; 0 (neutral) for one we do not map.
    static quint16 UserDefaultLanguage();

private:
    FixedInfo m_fixed;
    std::array<QString, TextCount> m_texts;
};
