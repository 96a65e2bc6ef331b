#include "ShortString.h"
#include "ByteSink.h"
#include "LoneSurrogates.h"

namespace Biff8 {

void ShortString::setNarrow(const QByteArray &text)
{
    m_narrow = text.left(MaxLength);
    m_wide.clear();
    m_flag = 0;
}

void ShortString::setWide(const QString &given)
{
    const QString text = ReplaceLoneSurrogates(given);
    QString cut = text.left(MaxLength);
    // Never leave half of a surrogate pair at the end.
    if (cut.size() == MaxLength && text.size() > MaxLength && cut.back().isHighSurrogate())
        cut.chop(1);
    m_wide = cut;
    m_narrow.clear();
    m_flag = 1;
}

QString ShortString::text() const
{
    return isWide() ? m_wide : QString::fromLatin1(m_narrow);
}

std::uint32_t ShortString::size() const
{
    return isWide() ? 2 * std::uint32_t(m_wide.size()) + 2 : std::uint32_t(m_narrow.size()) + 2;
}

std::uint32_t ShortString::store(std::uint8_t *p) const
{
    if (isWide()) {
        const auto n = std::uint32_t(m_wide.size());
        p[0] = std::uint8_t(n);
        p[1] = 1;
        const char16_t *s = reinterpret_cast<const char16_t *>(m_wide.utf16());
        for (std::uint32_t i = 0; i < n; ++i)
            ByteSink::put16(p + 2 + 2 * i, s[i]);
        return 2 * n + 2;
    }
    const auto n = std::uint32_t(m_narrow.size());
    p[0] = std::uint8_t(n);
    p[1] = 0;
    std::memcpy(p + 2, m_narrow.constData(), n);
    return n + 2;
}

} // namespace Biff8
