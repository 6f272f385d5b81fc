#pragma once

#include <QString>
#include <QStringList>

class Prompter;
class SoundPlayer;

// What the main window takes from outside: where the program lies, where
// else the programming tool may be found, and how it asks and beeps. Tests
// start the window in a folder of their own with scripted dialogs.
struct TAppEnvironment
{
    // The program's folder, ending in "/".
    QString appPath;
    // Folders searched for the programming tool after appPath (the PATH).
    QStringList toolSearchPath;
    // nullptr: real message boxes and file dialogs.
    Prompter* prompter = nullptr;
    // nullptr: the system's beep.
    SoundPlayer* sound = nullptr;

    static TAppEnvironment FromApplication();
    static QString WithTrailingSlash(const QString& folder);
};
