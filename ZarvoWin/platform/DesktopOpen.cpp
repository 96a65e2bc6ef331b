#include "DesktopOpen.h"

#include <QDesktopServices>

namespace Platform {

namespace {

UrlOpener &opener()
{
    static UrlOpener installed;
    return installed;
}

} // namespace

bool OpenUrl(const QUrl &url)
{
    if (opener())
        return opener()(url);
    return QDesktopServices::openUrl(url);
}

void SetUrlOpener(UrlOpener opener_)
{
    opener() = std::move(opener_);
}

} // namespace Platform
