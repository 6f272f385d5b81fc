#pragma once

#include <QString>
#include <QStringList>

// The outcome of reading or writing one table or preset file. A failure
// carries a message for the console or a message box; a success may carry
// warnings about lines that were read with a default. Nothing here throws:
// start-up must go on whatever the files hold, while a menu handler that
// wants the program's raised-error convention calls throwIfFailed().
class TFileResult
{
public:
    static TFileResult success() { return TFileResult(); }
    static TFileResult failure(const QString& message);

    bool ok() const { return m_ok; }
    // Plain text, without the console prefix; empty on success.
    QString message() const { return m_message; }
    // "##### Error: " + message.
    QString consoleText() const;

    QStringList warnings() const { return m_warnings; }
    void addWarning(const QString& text) { m_warnings.append(text); }
    // One warning naming the (1-based) lines concerned: "<what>: line 7" or
    // "<what>: lines 3, 7, 9, 12, 15 and 4 more"; nothing when the list is empty.
    void addLinesWarning(const QString& what, const QList<int>& lineNumbers);
    // Each warning with the "##### Warning: " prefix.
    QStringList warningConsoleTexts() const;

    // Raises EZr5Error with message() when the operation failed.
    void throwIfFailed() const;

private:
    bool m_ok = true;
    QString m_message;
    QStringList m_warnings;
};
