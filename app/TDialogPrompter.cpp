#include "TDialogPrompter.h"

#include <QFileDialog>
#include <QMessageBox>

Prompter::Answer TDialogPrompter::MessageBox(Icon icon, const QString& text, Buttons buttons)
{
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    QString title = QStringLiteral("Information");
    if (icon == Icon::Warning) {
        boxIcon = QMessageBox::Warning;
        title = QStringLiteral("Warning");
    } else if (icon == Icon::Error) {
        boxIcon = QMessageBox::Critical;
        title = QStringLiteral("Error");
    }
    QString body = text;
    // Messages break their lines with CR.
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(boxIcon, title, body,
                    buttons == Buttons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                 : QMessageBox::Ok,
                    m_parent);
    box.setDefaultButton(QMessageBox::Ok);
    // Closing the box is not a confirmation.
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

QString TDialogPrompter::OpenFileName(const FileRequest& request)
{
    return RunFileDialog(request, false);
}

QString TDialogPrompter::SaveFileName(const FileRequest& request)
{
    return RunFileDialog(request, true);
}

QString TDialogPrompter::SuffixOf(const QString& defaultExtension)
{
    QString suffix = defaultExtension;
    if (suffix.startsWith(QLatin1Char('*')))
        suffix.remove(0, 1);
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    return suffix;
}

QString TDialogPrompter::RunFileDialog(const FileRequest& request, bool save)
{
    QFileDialog dialog(m_parent, request.title, request.initialDir);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.filters.isEmpty()) {
        dialog.setNameFilters(request.filters);
        dialog.selectNameFilter(
            request.filters.value(request.filterIndex, request.filters.first()));
    }
    dialog.setDefaultSuffix(SuffixOf(request.defaultSuffix));
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}
