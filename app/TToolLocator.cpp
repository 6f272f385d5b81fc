#include "TToolLocator.h"

#include <QDir>
#include <QFileInfo>

QString TToolLocator::ProgramFileName(const QString& baseName)
{
#ifdef Q_OS_WIN
    return baseName + QStringLiteral(".exe");
#else
    return baseName;
#endif
}

QString TToolLocator::Find(const QString& fileName, const QString& appPath,
                           const QStringList& searchPath)
{
    QStringList folders{appPath};
    folders += searchPath;
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QFileInfo candidate(QDir(folder).filePath(fileName));
        if (candidate.isFile() && candidate.isExecutable())
            return candidate.absoluteFilePath();
    }
    return {};
}
