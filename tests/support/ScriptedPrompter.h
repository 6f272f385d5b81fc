#pragma once

#include "Prompter.h"

#include <QList>
#include <QQueue>
#include <QString>

// Answers message boxes and file dialogs from a script and records what was
// asked. Without a scripted answer a box is confirmed and a file dialog is
// cancelled.
class ScriptedPrompter : public Prompter
{
public:
    struct Message
    {
        Icon icon;
        QString text;
        Buttons buttons;
    };
    struct FileAsk
    {
        bool save;
        FileRequest request;
    };

    Answer MessageBox(Icon icon, const QString& text, Buttons buttons) override;
    QString OpenFileName(const FileRequest& request) override;
    QString SaveFileName(const FileRequest& request) override;

    QQueue<Answer> answers;
    QQueue<QString> fileNames;
    QList<Message> messages;
    QList<FileAsk> fileAsks;
};
