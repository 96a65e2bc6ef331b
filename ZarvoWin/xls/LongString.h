#pragma once
#include <QByteArray>
#include <QString>

#include <cstdint>

namespace Biff8 {

// String with a 16-bit character count (number formats, style names and the
// shared strings): count, flag byte (0 for 8-bit Latin-1 characters, 1 for
// UTF-16) and the characters. Rich-text runs and phonetic data are kept as
// counts only and never written.
class LongString
{
public:
    static constexpr int MaxLength = 65535;

    LongString() = default;
    explicit LongString(const QString &text) { setWide(text); }

    void setWide(const QString &text);
    void setNarrow(const QByteArray &text);

    bool isWide() const { return m_flags != 0; }
    const QString &wide() const { return m_wide; }
    const QByteArray &narrow() const { return m_narrow; }
    QString text() const { return isWide() ? m_wide : QString::fromLatin1(m_narrow); }
    std::uint8_t flags() const { return m_flags; }

    std::uint32_t characterCount() const;
    // Whether a cut before character `at` would part a surrogate pair.
    bool splitsPair(std::uint32_t at) const;
    // Bytes of the characters alone.
    std::uint32_t characterBytes() const;
    // Count, flag and characters.
    std::uint32_t size() const { return 3 + characterBytes(); }
    std::uint32_t store(std::uint8_t *p) const;
    // Stores characters [from, from + count) without any header.
    std::uint32_t storeCharacters(std::uint8_t *p, std::uint32_t from, std::uint32_t count) const;

private:
    QString m_wide;
    QByteArray m_narrow;
    std::uint8_t m_flags = 0xFF;
    std::uint16_t m_runs = 0;
    std::uint32_t m_phonetic = 0;
};

} // namespace Biff8
