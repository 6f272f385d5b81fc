#pragma once

#include <QString>

// Text parts of identification replies. A reply keeps its final CR; a slice
// ends before the first "]" or, without one, before the last character.
class TReplySlices
{
public:
    // From two characters after the first ",".
    static QString FirmwareText(const QString& reply);
    // From two characters after the first "[" (eight characters on a board).
    static QString FpgaVersion(const QString& reply);
    // From the character after the first "[".
    static QString ScanText(const QString& reply);
    // The two characters after the first "#" of the scan text, or its first two.
    static QString ScanVersion(const QString& reply);
    // From eight characters after the first "[".
    static QString OwnerText(const QString& reply);

    // Slice from a 1-based start to the slice end of the rules above.
    static QString Slice(const QString& reply, int start);
};
