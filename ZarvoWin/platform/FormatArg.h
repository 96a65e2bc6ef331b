#pragma once
#include <QString>
#include <QtGlobal>

namespace Platform {

// One typed argument of the formatter. Each argument keeps its own kind,
// so a format whose conversions disagree with the arguments still gives a
// readable result instead of undefined behaviour.
class FormatArg
{
public:
    enum class Kind { Int, UInt, Double, Text };

    FormatArg(int v) : m_kind(Kind::Int), m_int(v) {}
    FormatArg(long v) : m_kind(Kind::Int), m_int(v) {}
    FormatArg(long long v) : m_kind(Kind::Int), m_int(v) {}
    FormatArg(unsigned v) : m_kind(Kind::UInt), m_uint(v) {}
    FormatArg(unsigned long v) : m_kind(Kind::UInt), m_uint(v) {}
    FormatArg(unsigned long long v) : m_kind(Kind::UInt), m_uint(v) {}
    FormatArg(double v) : m_kind(Kind::Double), m_double(v) {}
    FormatArg(float v) : m_kind(Kind::Double), m_double(v) {}
    FormatArg(bool v) : m_kind(Kind::Int), m_int(v ? 1 : 0) {}
    FormatArg(const QString &v) : m_kind(Kind::Text), m_text(v) {}
    FormatArg(QStringView v) : m_kind(Kind::Text), m_text(v.toString()) {}
    FormatArg(const char *v) : m_kind(Kind::Text), m_text(QString::fromUtf8(v)) {}
    FormatArg(const char16_t *v) : m_kind(Kind::Text), m_text(QString::fromUtf16(v)) {}

    Kind kind() const { return m_kind; }
    qint64 toInt64() const;
    quint64 toUInt64() const;
    double toDouble() const;
    QString toText() const;

private:
    Kind m_kind;
    qint64 m_int = 0;
    quint64 m_uint = 0;
    double m_double = 0.0;
    QString m_text;
};

} // namespace Platform
