#pragma once
#include <QByteArray>
#include <QString>

#include <cstdint>

namespace Biff8 {

// String with a one-byte character count (font and sheet names). Holds
// either 8-bit (Latin-1) characters, flag 0, or UTF-16 characters, flag 1.
class ShortString
{
public:
    static constexpr int MaxLength = 255;

    ShortString() = default;
    explicit ShortString(const QString &text) { setWide(text); }

    void setNarrow(const QByteArray &text);
    void setWide(const QString &text);

    bool isWide() const { return m_flag == 1; }
    const QByteArray &narrow() const { return m_narrow; }
    const QString &wide() const { return m_wide; }
    // The text whatever its width.
    QString text() const;

    std::uint32_t size() const;
    // Stores count, flag and characters at p; returns the bytes stored.
    std::uint32_t store(std::uint8_t *p) const;

private:
    QByteArray m_narrow;
    QString m_wide;
    std::uint8_t m_flag = 0;
};

} // namespace Biff8
