#pragma once
#include <QUrl>

#include <functional>

namespace Platform {

// Hands a file or an address to the desktop's default program for it.
// False when nothing could open it.
bool OpenUrl(const QUrl &url);

// Tests put a recording opener in place of the desktop's; an empty one
// puts the desktop's back.
using UrlOpener = std::function<bool(const QUrl &url)>;
void SetUrlOpener(UrlOpener opener);

} // namespace Platform
