#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows code page 1252 ("ANSI" on western Windows) in both directions.
// Qt only offers it through ICU, which the Debian build may lack, and the
// table files have to read the same on every machine, so the table lives here.
//
// The five codes that 1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// pass through as U+0081 and so on, as Windows itself does; every byte
// therefore survives a decode/encode round trip.
class TWin1252Codec
{
public:
    static QString decode(QByteArrayView bytes);
    // Characters without a 1252 code become "?" (one per character, also for
    // characters outside the basic plane).
    static QByteArray encode(QStringView text);

    static char16_t toUnicode(unsigned char byte);
    // -1 when the character has no 1252 code.
    static int fromUnicode(char32_t character);
};
