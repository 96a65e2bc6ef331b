#include "ApplicationHelp.h"

#include "CLanguageSelector.h"
#include "ContextHelp.h"
#include "Formatter.h"
#include "HelpTopics.h"
#include "MessageBoxParams.h"
#include "RichMessageBox.h"
#include "RichMessageBoxDialog.h"
#include "Texts.h"

#include "DesktopOpen.h"
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

ApplicationHelp::UrlOpener &urlOpener()
{
    static ApplicationHelp::UrlOpener opener;
    return opener;
}

void tell(const QString &text)
{
    // Owned by the window the user asked from (the active one).
    RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconExclamation, nullptr, text, Platform::Texts::get(173));
}

} // namespace

void ApplicationHelp::Register(CLanguageSelector &languages)
{
    CLanguageSelector *source = &languages;
    ContextHelp::SetOpener([source](quint32 context) { Open(*source, context); },
                           [source] { return IsAvailable(*source); });
    RichMessageBoxDialog::SetHelpHandler([](quint32 helpId) { ContextHelp::Open(helpId); });
}

void ApplicationHelp::SetUrlOpener(UrlOpener opener)
{
    urlOpener() = std::move(opener);
}

bool ApplicationHelp::IsAvailable(const CLanguageSelector &languages)
{
    const QString &index = languages.GetHelpFile();
    return !index.isEmpty() && QFileInfo(index).isFile();
}

QString ApplicationHelp::PageFor(const CLanguageSelector &languages, quint32 context)
{
    return HelpTopics::PagePath(languages.GetHelpFile(), HelpTopics::TopicForContext(context));
}

bool ApplicationHelp::Open(const CLanguageSelector &languages, quint32 context)
{
    const QString page = PageFor(languages, context);
    if (page.isEmpty()) {
        tell(Platform::Texts::get(20402));
        return false;
    }
    const QUrl url = HelpTopics::PageUrl(page);
    const bool opened = urlOpener() ? urlOpener()(url) : Platform::OpenUrl(url);
    if (!opened)
        tell(Platform::Formatter::sprintf(Platform::Texts::get(20403), {QDir::toNativeSeparators(page)}));
    return opened;
}
