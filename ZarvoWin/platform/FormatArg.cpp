#include "FormatArg.h"

#include "IntParse.h"

#include <cmath>
#include <limits>

namespace Platform {

qint64 FormatArg::toInt64() const
{
    switch (m_kind) {
    case Kind::Int:
        return m_int;
    case Kind::UInt:
        return static_cast<qint64>(m_uint);
    case Kind::Double:
        if (std::isnan(m_double))
            return 0;
        if (m_double >= 9.2e18)
            return std::numeric_limits<qint64>::max();
        if (m_double <= -9.2e18)
            return std::numeric_limits<qint64>::min();
        return static_cast<qint64>(m_double);
    case Kind::Text:
        return wtoi64(m_text);
    }
    return 0;
}

quint64 FormatArg::toUInt64() const
{
    if (m_kind == Kind::UInt)
        return m_uint;
    return static_cast<quint64>(toInt64());
}

double FormatArg::toDouble() const
{
    switch (m_kind) {
    case Kind::Int:
        return static_cast<double>(m_int);
    case Kind::UInt:
        return static_cast<double>(m_uint);
    case Kind::Double:
        return m_double;
    case Kind::Text: {
        bool ok = false;
        const double v = m_text.trimmed().toDouble(&ok);
        return ok ? v : 0.0;
    }
    }
    return 0.0;
}

QString FormatArg::toText() const
{
    switch (m_kind) {
    case Kind::Int:
        return QString::number(m_int);
    case Kind::UInt:
        return QString::number(m_uint);
    case Kind::Double:
        return QString::number(m_double, 'g', 15);
    case Kind::Text:
        return m_text;
    }
    return {};
}

} // namespace Platform
