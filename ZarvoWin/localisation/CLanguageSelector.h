#pragma once
#include <QList>
#include <QString>

#include <functional>

class QComboBox;

// The choice of the interface and help languages, and the list of installed
// interface languages (a member of each program's application object).
//
// Languages are numbered with Windows language ids (LanguageTable). A
// language is installed when its database "<program folder>/<Abbr>/<Program>
// <Abbr>.sdb" exists; the built-in French (1036) always is. A language's
// help is the HTML folder "<program folder>/<Abbr>/<Program><Abbr>/", opened
// at its "index.html".
class CLanguageSelector
{
public:
    static constexpr quint16 BuiltInLanguage = 1036;
    static constexpr quint16 English = 1033;

    // Interface languages of the system, most wanted first; 0 when unknown.
    struct SystemLanguages
    {
        quint16 userInterface = 0;
        quint16 systemInterface = 0;
        quint16 userDefault = 0;
        quint16 systemDefault = 0;
        // What the desktop's locale says (QLocale's user interface languages
        // and the process locale).
        static SystemLanguages FromLocale();
    };

    // Paths from the running program's file.
    CLanguageSelector();
    // Paths from the given program file ("<folder>/Zarvo"): its folder and its
    // base name (the file name without extension).
    explicit CLanguageSelector(const QString &programFilePath);
    ~CLanguageSelector();
    CLanguageSelector(const CLanguageSelector &) = delete;
    CLanguageSelector &operator=(const CLanguageSelector &) = delete;

    // The selector of the application, which translation stores made without
    // one follow, and Qt's own texts too; null until a program registers its
    // own.
    static CLanguageSelector *Application();
    static void SetApplication(CLanguageSelector *selector);

    void InitPaths(const QString &programFilePath);
    // The program folder with its trailing '/'.
    const QString &GetProgramFolder() const { return m_programFolder; }
    const QString &GetBaseName() const { return m_baseName; }
    bool IsTray() const;

    quint16 GetBuiltInLanguage() const { return m_builtInLanguage; }
    quint16 GetLanguage() const { return m_language; }
    quint16 GetHelpLanguage() const { return m_helpLanguage; }
    // Whether the interface language is the one built into the program.
    bool IsBuiltInLanguage() const { return m_language == m_builtInLanguage; }
    // Counts the choices of interface language, so caches know when to forget.
    static int LanguageGeneration();

    // The installed interface languages, as the last scan found them.
    const QList<quint16> &GetLanguages() const { return m_languages; }

    QString GetLanguageFilePath() const { return GetLanguageFilePath(m_language); }
    QString GetLanguageFilePath(quint16 id) const;
    // "<folder>/Enu/<Program>Enu.sdb" when it exists, else the French one
    // when it exists; empty for 1033 and 1036 and when neither exists.
    QString GetFallbackFilePath() const;
    // "<folder>/<Abbr>/Zarvo<Abbr>/index.html": both programs share the
    // main program's help pages, the tray's among them.
    QString GetHelpFilePath(quint16 id) const;
    bool IsLanguageAvailable(quint16 id) const;

    // Sets the interface language without looking for its file.
    void SetLanguage(quint16 id);
    bool TryLanguage(quint16 id);
    void ChooseLanguage();
    // The help file of the chosen help language; empty when none exists.
    QString ChooseHelpLanguage();
    void SelectLanguage(int index);
    void SelectHelpLanguage(quint16 id);
    // The help file chosen last (empty when none).
    const QString &GetHelpFile() const { return m_helpFile; }

    bool ScanLanguages();
    void FillLanguageCombo(QComboBox *combo);
    void FillHelpLanguageCombo(QComboBox *combo);
    static QString GetLanguageDisplayName(quint16 id);

    bool ApplyRunTimeLocale() const;
    QString GetTemplatesFolder() const;
    QString GetSampleDataPath(bool reports) const;

    // Seams: the system languages (read from the locale by default), what a
    // selection posts (the change message of the registered bus with the kind
    // 2 or 3 by default), and the reset of saved toolbar layouts after the
    // interface language changed (the keys "Workspace/MFCToolBar..." by
    // default; the main program sets its own).
    void SetSystemLanguages(const SystemLanguages &languages);
    void SetChangePoster(std::function<void(int kind)> poster);
    void SetToolbarLayoutReset(std::function<void()> reset);

private:
    // The folder or file `name` inside `folder`, found whatever its letter
    // case; empty when there is none.
    static QString FindEntry(const QString &folder, const QString &name, bool wantFolder);
    QString LanguagePath(quint16 id, const QString &extension) const;
    QString LanguagePath(quint16 id, const QString &baseName, const QString &extension) const;
    void PostChange(int kind) const;
    // Qt's own texts in the interface language, for the application's
    // selector.
    void FollowLanguage() const;

    QList<quint16> m_languages;
    quint16 m_builtInLanguage = BuiltInLanguage;
    quint16 m_language = 0;
    quint16 m_helpLanguage = 0;
    QString m_programFolder;
    QString m_baseName;
    QString m_helpFile;
    SystemLanguages m_system;
    bool m_systemSet = false;
    std::function<void(int)> m_poster;
    std::function<void()> m_toolbarReset;
};
