#pragma once

#include "TAppEnvironment.h"
#include "TForm1.h"

#include <QTemporaryDir>
#include <QTimer>

#include <memory>

// The main window as the window tests over a simulated board use it: the
// board's folder is the program folder and keeps the settings and backups,
// prompts and sound are scripted, the device dialog takes the first row,
// the timer is stopped (tests step it themselves) and no cable is probed.
inline std::unique_ptr<TForm1> MakeBoardWindow(const QTemporaryDir& dir, Prompter& prompter,
                                               SoundPlayer& sound)
{
    TAppEnvironment env;
    env.appPath = dir.path();
    env.settingsFile = dir.filePath("settings.ini");
    env.backupDir = dir.filePath("backup");
    env.prompter = &prompter;
    env.sound = &sound;
    env.chooseDevice = [](const QList<ConnectionView::DeviceRow>&) { return 0; };
    auto form = std::make_unique<TForm1>(env);
    form->Timer1()->stop();
    form->Link().setDeviceRoot(dir.filePath("dev"));
    return form;
}
