#pragma once

#include <QString>
#include <QStringList>

// Message boxes and file dialogs. The window shows real dialogs; tests answer
// by script and record what was asked.
class Prompter
{
public:
    enum class Icon { Information, Warning, Error };
    enum class Buttons { Ok, OkCancel };
    enum class Answer { Ok, Cancel };

    struct FileRequest {
        QString title;
        QString initialDir;
        // "Caption (pattern)" entries, as a file dialog lists them.
        QStringList filters;
        int filterIndex = 0;
        QString defaultSuffix;
        QString fileName;
    };

    virtual ~Prompter() = default;

    virtual Answer MessageBox(Icon icon, const QString& text, Buttons buttons) = 0;
    // Empty when the user cancels.
    virtual QString OpenFileName(const FileRequest& request) = 0;
    virtual QString SaveFileName(const FileRequest& request) = 0;
};
