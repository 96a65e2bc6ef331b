#include "ApplicationImages.h"

#include "CConfiguration.h"
#include "CViewTree.h"
#include "CZarvoWinApp.h"
#include "ImageList.h"

namespace {

struct ThemeImage
{
    int index;
    const char *iconName;
};

constexpr ThemeImage Images[] = {
    {0, "folder"},
    {1, "folder-open"},
    {15, "project-development"},
    {16, "view-pim-tasks"},
    {17, "view-bank"},
    {18, "view-task"},
    {19, "office-report"},
    {20, "favorites"},
    {21, "view-history"},
    {22, "user-identity"},
    {23, "view-list-tree"},
    {24, "flag"},
};

} // namespace

void FillApplicationImages(ImageList &list)
{
    for (const ThemeImage &image : Images)
        list.SetThemeIcon(image.index, QString::fromLatin1(image.iconName));
}

ImageList &CZarvoWinApp::Images(bool big)
{
    std::unique_ptr<ImageList> &list = m_images[big ? 1 : 0];
    if (!list) {
        list = std::make_unique<ImageList>(big ? 24 : 16);
        FillApplicationImages(*list);
    }
    return *list;
}

void SetPaneTreeImageList(CViewTree *tree)
{
    CZarvoWinApp *app = CZarvoWinApp::Instance();
    if (!tree || !app)
        return;
    tree->SetImageList(&app->Images(app->Configuration().bigIcon));
}
