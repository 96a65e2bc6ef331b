#include "TextsProvider.h"

#include "CLanguageSelector.h"
#include "CTranslationStore.h"
#include "Texts.h"

#include <QHash>

#include <memory>
#include <mutex>

namespace {

struct Cache
{
    std::mutex mutex;
    int generation = -1;
    const CLanguageSelector *selector = nullptr;
    std::unique_ptr<CTranslationStore> store;
    QHash<int, QString> texts; // null values: no text anywhere
};

Cache &cache()
{
    static Cache c;
    return c;
}

QString lookup(int id)
{
    Cache &c = cache();
    std::lock_guard lock(c.mutex);
    const CLanguageSelector *selector = CLanguageSelector::Application();
    if (!selector)
        return QString();
    const int generation = CLanguageSelector::LanguageGeneration();
    if (generation != c.generation || selector != c.selector) {
        c.texts.clear();
        c.store.reset();
        c.generation = generation;
        c.selector = selector;
    }
    const auto it = c.texts.constFind(id);
    if (it != c.texts.cend())
        return *it;
    if (!c.store)
        c.store = std::make_unique<CTranslationStore>(selector, CTranslationStore::Program::Main);
    const QString text = c.store->FindString(id);
    c.texts.insert(id, text);
    return text;
}

} // namespace

void TextsProvider::Install()
{
    Platform::Texts::setProvider(lookup);
}

void TextsProvider::Uninstall()
{
    Platform::Texts::setProvider(nullptr);
    Cache &c = cache();
    std::lock_guard lock(c.mutex);
    c.texts.clear();
    c.store.reset();
    c.selector = nullptr;
    c.generation = -1;
}
