#pragma once

#include "Prompter.h"

#include <QPointer>
#include <QWidget>

// Real message boxes and file dialogs, over the given window.
class TDialogPrompter : public Prompter
{
public:
    explicit TDialogPrompter(QWidget* parent = nullptr) : m_parent(parent) {}

    Answer MessageBox(Icon icon, const QString& text, Buttons buttons) override;
    QString OpenFileName(const FileRequest& request) override;
    QString SaveFileName(const FileRequest& request) override;

    // "hex", ".hex" and "*.hex" all mean the suffix "hex".
    static QString SuffixOf(const QString& defaultExtension);

private:
    QString RunFileDialog(const FileRequest& request, bool save);

    QPointer<QWidget> m_parent;
};
