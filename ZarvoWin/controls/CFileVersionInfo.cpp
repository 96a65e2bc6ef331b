#include "CFileVersionInfo.h"

#include "ZarvoVersion.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

namespace {

struct VersionBlockTexts
{
    CFileVersionInfo::Translation translation;
    std::array<const char16_t *, CFileVersionInfo::TextCount> texts;
};

#define ZARVO_WIDEN2(x) u##x
#define ZARVO_WIDEN(x) ZARVO_WIDEN2(x)

// The version block of the program: one language (French, Unicode).
const VersionBlockTexts versionBlock[] = {
    {{0x040C, 1200},
     {u"Quellmark", u"Zarvo", ZARVO_WIDEN(ZARVO_VERSION_TEXT), u"Zarvo", u"Copyright (C) Quellmark", u"Zarvo",
      u"Zarvo", ZARVO_WIDEN(ZARVO_VERSION_TEXT), u"", u"", u"", u""}},
};

constexpr quint32 half(int high, int low)
{
    return (quint32(high) << 16) | quint32(low);
}

} // namespace

CFileVersionInfo::CFileVersionInfo()
{
    CFileVersionInfo::Reset();
}

CFileVersionInfo::~CFileVersionInfo() = default;

void CFileVersionInfo::Reset()
{
    m_fixed = FixedInfo();
    for (QString &text : m_texts)
        text.clear();
}

QString CFileVersionInfo::TextKey(Text which)
{
    static const char *const keys[TextCount] = {
        "CompanyName",    "FileDescription", "FileVersion", "InternalName",
        "LegalCopyright", "OriginalFileName", "ProductName", "ProductVersion",
        "Comments",       "LegalTrademarks", "PrivateBuild", "SpecialBuild",
    };
    return QString::fromLatin1(keys[which]);
}

bool CFileVersionInfo::Create()
{
    Reset();
    m_fixed.signature = 0xFEEF04BD;
    m_fixed.structVersion = 0x00010000;
    m_fixed.fileVersionMS = half(ZARVO_VERSION_MAJOR, ZARVO_VERSION_MINOR);
    m_fixed.fileVersionLS = half(ZARVO_VERSION_PATCH, ZARVO_VERSION_TWEAK);
    m_fixed.productVersionMS = m_fixed.fileVersionMS;
    m_fixed.productVersionLS = m_fixed.fileVersionLS;
    m_fixed.flagsMask = 0x3F;
    m_fixed.type = 1; // an application

    QList<Translation> translations;
    for (const VersionBlockTexts &block : versionBlock)
        translations << block.translation;
    const int chosen = ChooseTranslation(translations, UserDefaultLanguage());
    if (chosen < 0)
        return true;
    for (int i = 0; i < TextCount; ++i)
        m_texts[size_t(i)] = QString::fromUtf16(versionBlock[chosen].texts[size_t(i)]);
    return true;
}

bool CFileVersionInfo::Create(const QString &path)
{
    Reset();
    const QString own = QCoreApplication::applicationFilePath();
    if (path.isEmpty() || own.isEmpty())
        return false;
    const QString wanted = QFileInfo(path).canonicalFilePath();
    if (wanted.isEmpty() || wanted != QFileInfo(own).canonicalFilePath())
        return false;
    return Create();
}

int CFileVersionInfo::ChooseTranslation(const QList<Translation> &translations, quint16 userLanguage)
{
    const auto find = [&](auto matches) {
        for (int i = 0; i < translations.size(); ++i) {
            if (matches(translations[i].language))
                return i;
        }
        return -1;
    };
    if (translations.isEmpty())
        return -1;
    int i = find([&](quint16 l) { return l == userLanguage; });
    if (i < 0)
        i = find([&](quint16 l) { return (l & 0xFF) == (userLanguage & 0xFF); });
    if (i < 0)
        i = find([](quint16 l) { return l == 0; });
    if (i < 0)
        i = find([](quint16 l) { return (l & 0xFF) == 9; });
    return i < 0 ? 0 : i;
}

quint16 CFileVersionInfo::UserDefaultLanguage()
{
    switch (QLocale::system().language()) {
    case QLocale::French: return 0x040C;
    case QLocale::English: return 0x0409;
    case QLocale::German: return 0x0407;
    case QLocale::Spanish: return 0x0C0A;
    case QLocale::Italian: return 0x0410;
    case QLocale::Dutch: return 0x0413;
    case QLocale::Portuguese: return 0x0816;
    default: return 0;
    }
}
