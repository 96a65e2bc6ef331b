#pragma once
#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>

class CConfiguration;
class CLanguageSelector;
class FolderMovePlan;
class QWidget;

// What the option pages need of the application: the settings object they
// edit and the few reactions that reach beyond the dialog. The options
// command fills it from the application; tests fill it with recorders. An
// unset reaction does its default, written below.
class COptionsContext
{
public:
    explicit COptionsContext(CConfiguration &config);

    CConfiguration &Config() const { return *m_config; }

    // The interface languages; null: the application's selector.
    CLanguageSelector *languages = nullptr;
    // The change broadcast to the other program with its kind (default:
    // the data store's broadcast).
    std::function<void(int kind)> postChange;
    // After the interface language changed: the application's windows and
    // views take the new texts (default: nothing).
    std::function<void()> retranslateApplication;
    // The trees of the project, task and report panes take the large or
    // the small pictures (default: nothing).
    std::function<void(bool big)> applyBigIcons;
    // The file-open dialog: the file chosen, empty when cancelled (default:
    // the desktop's dialog). `filter` is in Qt's form.
    std::function<QString(QWidget *owner, const QString &start, const QString &filter)> openFileName;
    // The locale whose first day of the week "<Système>" follows (default:
    // the settings object's, which it reads the day from when it loads).
    std::function<QLocale()> systemLocale;

    // The names of the users listed in the users database (default: read
    // from the users folder of the settings).
    std::function<QStringList()> userNames;
    // Runs the copy of a folder move where the user sees it and can cancel
    // it; true when everything was copied (default: the progress dialog).
    std::function<bool(QWidget *owner, FolderMovePlan &plan)> runCopy;
    // After the users folder changed: the user is read again from the new
    // folder and the lists and views follow (default: nothing).
    std::function<void()> usersFolderChanged;

    // The defaults applied.
    CLanguageSelector *Languages() const;
    void PostChange(int kind) const;
    void RetranslateApplication() const;
    void ApplyBigIcons(bool big) const;
    QString OpenFileName(QWidget *owner, const QString &start, const QString &filter) const;
    QLocale SystemLocale() const;
    QStringList UserNames() const;
    bool RunCopy(QWidget *owner, FolderMovePlan &plan) const;
    void UsersFolderChanged() const;

private:
    CConfiguration *m_config;
};
