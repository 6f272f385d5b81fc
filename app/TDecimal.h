#pragma once

#include <QString>

// Reading a text box or cell as a signed 32-bit decimal number the way the
// board's number fields are typed: blanks in front are allowed, anything
// else that is not a digit after an optional sign makes it "not a number".
class TDecimal
{
public:
    static bool TryInt(const QString& text, int& value);
    static int IntOr(const QString& text, int fallback);
};
