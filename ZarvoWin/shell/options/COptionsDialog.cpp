#include "COptionsDialog.h"

#include "CLanguageSelector.h"
#include "CMainFrame.h"
#include "CMainFrameViews.h"
#include "COptAffichage.h"
#include "COptBackup.h"
#include "COptDayOff.h"
#include "COptDir.h"
#include "COptForecast.h"
#include "COptFormat.h"
#include "COptGeneral.h"
#include "COptLan.h"
#include "COptLogo.h"
#include "COptMisc.h"
#include "COptMouse.h"
#include "COptionsContext.h"
#include "CPrefsDialog.h"
#include "CUsers.h"
#include "CZarvoWinApp.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UnattendedDialogs.h"

#include <memory>
#include <vector>

namespace {

COptionsDialog::Runner &runner()
{
    static COptionsDialog::Runner r;
    return r;
}

std::unique_ptr<CPrefsSubDlg> makePage(int captionId, COptionsContext &context)
{
    switch (captionId) {
    case 109:
        return std::make_unique<COptGeneral>(context);
    case 110:
        return std::make_unique<COptAffichage>(context);
    case 622:
        return std::make_unique<COptDayOff>(context);
    case 210:
        return std::make_unique<COptFormat>(context);
    case 197:
        return std::make_unique<COptDir>(context);
    case 205:
        return std::make_unique<COptLan>(context);
    case 348:
        return std::make_unique<COptBackup>(context);
    case 347:
        return std::make_unique<COptLogo>(context);
    case 521:
        return std::make_unique<COptForecast>(context);
    case 688:
        return std::make_unique<COptMouse>(context);
    case 561:
        return std::make_unique<COptMisc>(context);
    default:
        return nullptr;
    }
}

} // namespace

void COptionsDialog::SetRunner(Runner r)
{
    runner() = std::move(r);
}

bool COptionsDialog::HasPage(int captionId)
{
    static const QList<int> known{109, 110, 622, 210, 197, 205, 348, 347, 521, 688, 561};
    return known.contains(captionId);
}

bool COptionsDialog::Run(QWidget *owner, COptionsContext &context, const QList<PageEntry> &pages, int startIndex)
{
    // The frame first, the pages after it: the pages go first when the
    // command returns, and the frame lets go of what is left anyway.
    CPrefsDialog frame(owner);
    std::vector<std::unique_ptr<CPrefsSubDlg>> made;
    CPrefsSubDlg *start = nullptr;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        std::unique_ptr<CPrefsSubDlg> page = makePage(pages[i].captionId, context);
        if (!page)
            continue;
        frame.AddPage(page.get(), pages[i].captionId, pages[i].caption);
        if (i == startIndex)
            start = page.get();
        made.push_back(std::move(page));
    }
    frame.SetTitle(Platform::Texts::get(198));
    frame.SetCaptionText(Platform::Texts::get(128));
    if (start)
        frame.SetStartPage(start);
    if (!runner() && UnattendedDialogs::Report(QStringLiteral("options")))
        return false;
    const int result = runner() ? runner()(frame) : frame.DoModal();
    return result == 1;
}

void COptionsDialog::Register(CZarvoWinApp &app)
{
    CPrefsDialog::SetTranslator([](QWidget *window, int dialogId) { TranslateDialog(window, dialogId); });
    app.Windows().languageCount = [] {
        CLanguageSelector *languages = CLanguageSelector::Application();
        if (!languages)
            return 1;
        languages->ScanLanguages();
        return int(languages->GetLanguages().size());
    };
    app.Windows().options = [&app](const CZarvoWinApp::OptionsRequest &request) {
        COptionsContext context(app.Configuration());
        context.retranslateApplication = [&app] { app.ReloadLanguageTexts(); };
        context.applyBigIcons = [&app](bool) {
            if (CMainFrame *frame = app.MainFrame())
                frame->Views().ReloadToolbarImages();
        };
        // The user is read again from the new folder, then every list and
        // view follows.
        context.usersFolderChanged = [&app] {
            app.Users().LoadSelectedUser();
            app.ReloadAll();
        };
        QList<PageEntry> pages;
        for (const CCommandRules::OptionsPageEntry &entry : request.pages)
            pages.append(PageEntry{entry.captionId, entry.caption});
        return Run(app.MainWindow(), context, pages, request.startIndex);
    };
}
