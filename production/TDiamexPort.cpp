#include "TDiamexPort.h"

#include <QRegularExpression>

QString TDiamexPort::DeviceName(const QString& port, const QString& deviceRoot)
{
    static const QRegularExpression comName(QStringLiteral("^COM([0-9]{1,6})$"));
    const QRegularExpressionMatch match = comName.match(port);
    if (!match.hasMatch())
        return port;
    QString root = deviceRoot;
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    return root + QStringLiteral("ttyACM") + QString::number(match.captured(1).toInt());
}
