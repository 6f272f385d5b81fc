#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The one way this subsystem reads a number out of a table cell or a file
// line: an optional sign and decimal digits, surrounding spaces and tabs
// ignored, within the signed 32-bit range. Anything else (empty text, a lone
// space, a word, "0x10", a value that overflows) is not a number.
class TDecimal
{
public:
    static std::optional<qint32> parse(QStringView text);
    // The lenient reading used everywhere except the strict parameter lookup.
    static qint32 orZero(QStringView text) { return parse(text).value_or(0); }
};
