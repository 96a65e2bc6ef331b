#include "Texts.h"

namespace Platform {

namespace {
Texts::Provider &provider()
{
    static Texts::Provider p;
    return p;
}
} // namespace

QString Texts::get(int id, const QString &frenchFallback)
{
    if (provider()) {
        const QString text = provider()(id);
        if (!text.isNull())
            return text;
    }
    return frenchFallback;
}

void Texts::setProvider(Provider p)
{
    provider() = std::move(p);
}

} // namespace Platform
