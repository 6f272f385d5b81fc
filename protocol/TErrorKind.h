#pragma once

#include <QString>
#include <QtGlobal>

// Kinds of counted board-side trouble. The order matters: the production run
// treats every kind after SyncErr as severe.
enum class TErrorKind : quint8 {
    noErr,
    SyncErr,
    TxErr,
    TimeOutErr,
    FileErr,
    ComErr,
    FlashErr,
    VersionErr,
    CancelErr
};

// The kinds' names as they appear in messages.
inline const char* const ErrorNames[] = {"noErr",  "SyncErr",  "TxErr",      "TimeOutErr", "FileErr",
                                         "ComErr", "FlashErr", "VersionErr", "CancelErr"};

inline QString ErrorName(TErrorKind kind)
{
    return QString::fromLatin1(ErrorNames[static_cast<int>(kind)]);
}
