#include "TMidiMessage.h"

TMidiMessage TMidiMessage::Unpack(int packed)
{
    // The value may be negative (a query without reply reads -999); the
    // masks take the bytes of its two's complement form.
    const auto bits = static_cast<quint32>(packed);
    return TMidiMessage{static_cast<int>((bits >> 16) & 0xFF), static_cast<int>((bits >> 8) & 0x7F),
                        static_cast<int>(bits & 0x7F)};
}

QString TMidiMessage::Text() const
{
    const auto hex = [](int byte) {
        return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    };
    return QStringLiteral("%1:%2:%3 [$%4:$%5:$%6]")
        .arg(status)
        .arg(data1)
        .arg(data2)
        .arg(hex(status), hex(data1), hex(data2));
}
