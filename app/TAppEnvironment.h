#pragma once

#include "ConnectionView.h"

#include <QString>
#include <QStringList>

#include <functional>

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
    // Empty: the device dialog asks; else this answers with the chosen row
    // or -1 for none.
    std::function<int(const QList<ConnectionView::DeviceRow>& rows)> chooseDevice;
    // Connect once the window is shown, to the remembered device or the
    // first one listed, without the dialog.
    bool connectAtStart = false;
    // Where the settings are kept between runs: an INI file of this path,
    // else with userSettings the user's own store (organisation "Brackwell",
    // application "ZR5remote"), else nowhere (the defaults, nothing saved).
    // Tests give a file of their own and never touch the user's.
    QString settingsFile;
    bool userSettings = false;
    // Where the controller update keeps its backup of the board's settings;
    // empty: the user's data folder.
    QString backupDir;

    static TAppEnvironment FromApplication();
    static QString WithTrailingSlash(const QString& folder);
};
