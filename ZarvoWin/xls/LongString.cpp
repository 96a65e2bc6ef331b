#include "LongString.h"
#include "ByteSink.h"
#include "LoneSurrogates.h"

#include <bit>

namespace Biff8 {

void LongString::setWide(const QString &given)
{
    const QString text = ReplaceLoneSurrogates(given);
    QString cut = text.left(MaxLength);
    if (cut.size() == MaxLength && text.size() > MaxLength && cut.back().isHighSurrogate())
        cut.chop(1);
    m_wide = cut;
    m_narrow.clear();
    m_flags = 1;
    m_runs = 0;
    m_phonetic = 0;
}

void LongString::setNarrow(const QByteArray &text)
{
    m_narrow = text.left(MaxLength);
    m_wide.clear();
    m_flags = 0;
    m_runs = 0;
    m_phonetic = 0;
}

std::uint32_t LongString::characterCount() const
{
    return isWide() ? std::uint32_t(m_wide.size()) : std::uint32_t(m_narrow.size());
}

bool LongString::splitsPair(std::uint32_t at) const
{
    if (!isWide() || at == 0 || at >= std::uint32_t(m_wide.size()))
        return false;
    return m_wide.at(at - 1).isHighSurrogate() && m_wide.at(at).isLowSurrogate();
}

std::uint32_t LongString::characterBytes() const
{
    return isWide() ? 2 * std::uint32_t(m_wide.size()) : std::uint32_t(m_narrow.size());
}

std::uint32_t LongString::store(std::uint8_t *p) const
{
    const std::uint32_t n = characterCount();
    ByteSink::put16(p, std::uint16_t(n));
    p[2] = isWide() ? 1 : 0;
    return 3 + storeCharacters(p + 3, 0, n);
}

std::uint32_t LongString::storeCharacters(std::uint8_t *p, std::uint32_t from, std::uint32_t count) const
{
    if (isWide()) {
        const char16_t *s = reinterpret_cast<const char16_t *>(m_wide.utf16()) + from;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(p, s, 2 * std::size_t(count));
        } else {
            for (std::uint32_t i = 0; i < count; ++i)
                ByteSink::put16(p + 2 * i, s[i]);
        }
        return 2 * count;
    }
    std::memcpy(p, m_narrow.constData() + from, count);
    return count;
}

} // namespace Biff8
