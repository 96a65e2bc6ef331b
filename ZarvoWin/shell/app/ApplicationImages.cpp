#include "ApplicationImages.h"

#include "CConfiguration.h"
#include "CViewTree.h"
#include "CZarvoWinApp.h"
#include "ImageList.h"

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
