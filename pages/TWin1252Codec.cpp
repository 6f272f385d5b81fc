#include "TWin1252Codec.h"

#include <QList>

namespace {

// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 0x98
};

} // namespace

char16_t TWin1252Codec::toUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return byte;
}

int TWin1252Codec::fromUnicode(char32_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<int>(character);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == character)
            return 0x80 + i;
    }
    return -1;
}

QString TWin1252Codec::decode(QByteArrayView bytes)
{
    QString text;
    text.resize(bytes.size());
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(toUnicode(static_cast<unsigned char>(bytes[i])));
    return text;
}

QByteArray TWin1252Codec::encode(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (char32_t character : text.toUcs4()) {
        const int code = fromUnicode(character);
        bytes.append(code < 0 ? '?' : static_cast<char>(code));
    }
    return bytes;
}
