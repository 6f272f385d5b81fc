#pragma once

#include <QString>
#include <QStringList>

// Finds an external program: first beside this program, then in the given
// search folders, the way a shell would.
class TToolLocator
{
public:
    // "avrdude" becomes "avrdude.exe" where programs carry that extension.
    static QString ProgramFileName(const QString& baseName);
    // Full path of the first executable file of that name; empty when none.
    static QString Find(const QString& fileName, const QString& appPath,
                        const QStringList& searchPath);
};
