#include "SimFirmwareImage.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

QByteArray SimFirmwareImage::flashImage(const QString& firmwareText)
{
    // A reset vector jumping over the text, as a linker would lay it out.
    QByteArray image(kTextAddress, '\0');
    const char code[] = {'\x0c', '\x94', '\x80', '\x00', '\xff', '\xcf'};
    image.replace(0, sizeof code, QByteArray(code, sizeof code));
    image += firmwareText.toLatin1();
    image += '\0';
    return image;
}

QByteArray SimFirmwareImage::eepromImage(const QMap<int, int>& values)
{
    // The heading keeps an image without values from being an empty file.
    QByteArray image = "# ZR5 EEPROM\n";
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        image += QByteArray::number(it.key()) + '=' + QByteArray::number(it.value()) + '\n';
    return image;
}

QMap<int, int> SimFirmwareImage::eepromValues(const QByteArray& eeprom)
{
    static const QRegularExpression line(QStringLiteral("^(-?\\d+)=(-?\\d+)$"));
    qsizetype end = 0;
    while (end < eeprom.size() && eeprom.at(end) != '\xff' && eeprom.at(end) != '\0')
        ++end;
    QMap<int, int> values;
    for (const QByteArray& text : eeprom.left(end).split('\n')) {
        const QRegularExpressionMatch m = line.match(QString::fromLatin1(text.trimmed()));
        bool okNumber = false;
        bool okValue = false;
        const int number = m.hasMatch() ? m.captured(1).toInt(&okNumber) : 0;
        const int value = m.hasMatch() ? m.captured(2).toInt(&okValue) : 0;
        if (okNumber && okValue)
            values.insert(number, value);
    }
    return values;
}

QByteArray SimFirmwareImage::intelHex(const QByteArray& data)
{
    QByteArray out;
    for (qsizetype at = 0; at < data.size(); at += 16) {
        const QByteArray chunk = data.mid(at, 16);
        if (chunk.count('\xff') == chunk.size())
            continue;
        QByteArray record;
        record += char(chunk.size());
        record += char((at >> 8) & 0xff);
        record += char(at & 0xff);
        record += '\0';
        record += chunk;
        quint8 sum = 0;
        for (const char c : record)
            sum = quint8(sum + quint8(c));
        record += char(quint8(-sum));
        out += ':' + record.toHex().toUpper() + "\r\n";
    }
    out += ":00000001FF\r\n";
    return out;
}

bool SimFirmwareImage::writePair(const QString& hexPath, const QString& firmwareText,
                                 const QMap<int, int>& eepromValues, QString* error)
{
    const QFileInfo info(hexPath);
    const QString eepPath = info.path() + QLatin1Char('/') + info.completeBaseName() + ".eep";
    const auto write = [error](const QString& path, const QByteArray& bytes) {
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
            return true;
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    };
    return write(hexPath, intelHex(flashImage(firmwareText))) &&
           write(eepPath, intelHex(eepromImage(eepromValues)));
}
