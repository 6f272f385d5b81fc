#include "TAppEnvironment.h"

#include <QCoreApplication>
#include <QDir>

TAppEnvironment TAppEnvironment::FromApplication()
{
    TAppEnvironment env;
    env.appPath = WithTrailingSlash(QCoreApplication::applicationDirPath());
    env.toolSearchPath =
        qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    env.userSettings = true;
    env.backupDir = qEnvironmentVariable("ZR5_BACKUP_DIR");
    return env;
}

QString TAppEnvironment::WithTrailingSlash(const QString& folder)
{
    QString path = QDir::fromNativeSeparators(folder);
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}
