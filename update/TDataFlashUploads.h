#pragma once

#include "Prompter.h"

#include <QString>

#include <array>

class OperationHost;
class TBlockTransfer;
class TZr5Com;

// Which image goes into which DataFlash slot, and the Advanced tab's uploads:
// one scan core into a chosen slot, the whole file set of a folder, the four
// tapering tables and the horn filter.
class TDataFlashUploads
{
public:
    struct FileSetEntry
    {
        const char* fileName;
        int slot;
    };
    // The file set in upload order: scan cores, reverb program, tapering
    // tables, horn filter.
    static constexpr int kFileSetSize = 14;
    static const std::array<FileSetEntry, kFileSetSize>& FileSet();

    // Scan core selector items: the eight cores, the separator, "Update ALL".
    static constexpr int kSeparatorIndex = 8;
    static constexpr int kUpdateAllIndex = 9;

    // openDialog is the window's open dialog template; each handler sets its
    // filter and title on it and asks the prompter with a copy.
    TDataFlashUploads(TBlockTransfer& transfer, TZr5Com& com, OperationHost& host,
                      Prompter& prompter, Prompter::FileRequest& openDialog);

    // folder ends with a path delimiter, or is empty for the current
    // directory. The caller looks at the cancel flag afterwards.
    void UploadFileSet(const QString& folder);
    // selectedIndex is the scan core selector's item.
    void BtnScanCoreClick(int selectedIndex);
    // n is the tapering table 1 to 4 (slots 11 to 14).
    void BtnTaperClick(int n);
    void BtnFIRClick();

    // Folder of a chosen file, with its final delimiter.
    static QString FolderOf(const QString& filePath);
    // Selects filter on the dialog template (adding it when missing), sets the
    // title and asks; empty when the user cancels. The template remembers the
    // chosen file for the next time.
    static QString ChooseFile(Prompter& prompter, Prompter::FileRequest& dialog,
                              const QString& filter, const QString& title);

private:
    QString ChooseFile(const QString& filter, const QString& title)
    {
        return ChooseFile(m_prompter, m_openDialog, filter, title);
    }

    TBlockTransfer& m_transfer;
    TZr5Com& m_com;
    OperationHost& m_host;
    Prompter& m_prompter;
    Prompter::FileRequest& m_openDialog;
};
