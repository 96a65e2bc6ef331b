#include "Texts.h"

#include "BuiltInTexts.h"

#include <mutex>

namespace Platform {

namespace {
struct ProviderSlot
{
    std::mutex mutex;
    Texts::Provider provider;
};

ProviderSlot &slot()
{
    static ProviderSlot s;
    return s;
}
} // namespace

QString Texts::get(int id)
{
    Provider provider;
    {
        std::lock_guard lock(slot().mutex);
        provider = slot().provider;
    }
    if (provider) {
        const QString text = provider(id);
        if (!text.isNull())
            return text;
    }
    const QString french = builtIn(id);
    return french.isNull() ? QStringLiteral("") : french;
}

QString Texts::builtIn(int id)
{
    const char16_t *text = BuiltInTexts::String(BuiltInTexts::Program::Main, id);
    return text ? expandLineBreaks(QString::fromUtf16(text)) : QString();
}

void Texts::setProvider(Provider p)
{
    std::lock_guard lock(slot().mutex);
    slot().provider = std::move(p);
}

QString Texts::expandLineBreaks(QString text)
{
    text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    return text;
}

} // namespace Platform
