#include "TReplySlices.h"

namespace {
int firstPos(const QString& reply, QChar c)
{
    return static_cast<int>(reply.indexOf(c)) + 1;
}
} // namespace

QString TReplySlices::Slice(const QString& reply, int start)
{
    const int bracket = firstPos(reply, QLatin1Char(']'));
    const int end = bracket > 0 ? bracket - 1 : static_cast<int>(reply.size()) - 1;
    if (start < 1 || start > end)
        return {};
    return reply.mid(start - 1, end - start + 1);
}

QString TReplySlices::FirmwareText(const QString& reply)
{
    return Slice(reply, firstPos(reply, QLatin1Char(',')) + 2);
}

QString TReplySlices::FpgaVersion(const QString& reply)
{
    return Slice(reply, firstPos(reply, QLatin1Char('[')) + 2);
}

QString TReplySlices::ScanText(const QString& reply)
{
    return Slice(reply, firstPos(reply, QLatin1Char('[')) + 1);
}

QString TReplySlices::ScanVersion(const QString& reply)
{
    const QString scan = ScanText(reply);
    const qsizetype hash = scan.indexOf(QLatin1Char('#'));
    return hash >= 0 ? scan.mid(hash + 1, 2) : scan.left(2);
}

QString TReplySlices::OwnerText(const QString& reply)
{
    return Slice(reply, firstPos(reply, QLatin1Char('[')) + 8);
}
