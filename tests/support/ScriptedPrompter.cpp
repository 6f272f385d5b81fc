#include "ScriptedPrompter.h"

Prompter::Answer ScriptedPrompter::MessageBox(Icon icon, const QString& text, Buttons buttons)
{
    messages.append({icon, text, buttons});
    return answers.isEmpty() ? Answer::Ok : answers.dequeue();
}

QString ScriptedPrompter::OpenFileName(const FileRequest& request)
{
    fileAsks.append({false, request});
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QString ScriptedPrompter::SaveFileName(const FileRequest& request)
{
    fileAsks.append({true, request});
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}
