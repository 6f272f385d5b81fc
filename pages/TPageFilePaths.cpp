#include "TPageFilePaths.h"

#include <QDir>

TPageFilePaths TPageFilePaths::defaults(const QString& programFolder)
{
    const QDir folder(programFolder);
    TPageFilePaths paths;
    paths.organ = folder.filePath(QString::fromLatin1(organFileName));
    paths.rotary = folder.filePath(QString::fromLatin1(rotaryFileName));
    paths.midiCC = folder.filePath(QString::fromLatin1(midiCCFileName));
    paths.upper = folder.filePath(QString::fromLatin1(upperFileName));
    paths.lower = folder.filePath(QString::fromLatin1(lowerFileName));
    return paths;
}
