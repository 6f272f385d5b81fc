#include "TDecimal.h"

#include <limits>

std::optional<qint32> TDecimal::parse(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;

    bool negative = false;
    if (begin < end && (text[begin] == u'-' || text[begin] == u'+')) {
        negative = text[begin] == u'-';
        ++begin;
    }
    if (begin == end)
        return std::nullopt;

    // Accumulate as a negative number so that the most negative value fits.
    constexpr qint64 lowest = std::numeric_limits<qint32>::min();
    qint64 value = 0;
    for (qsizetype i = begin; i < end; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 - (c - u'0');
        if (value < lowest)
            return std::nullopt;
    }
    if (!negative) {
        value = -value;
        if (value > std::numeric_limits<qint32>::max())
            return std::nullopt;
    }
    return static_cast<qint32>(value);
}
