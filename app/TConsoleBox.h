#pragma once

#include <QGroupBox>
#include <QStringList>

class QPlainTextEdit;

// "ZR5 Response/Messages": the console every operation reports in. The
// program only appends lines or clears it; the user may type into it.
class TConsoleBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit TConsoleBox(QWidget* parent = nullptr);

    // "Lucida Console" where the system has it, else its fixed-pitch font.
    static QFont ConsoleFont();

    QPlainTextEdit* Memo1() const { return m_memo; }

    // Appends one line at the end, whatever the user did with the cursor,
    // and brings it into view.
    void AddLine(const QString& text);
    void Clear();
    // Replaces the whole content, one line per entry.
    void SetLines(const QStringList& lines);
    QStringList Lines() const;

private:
    QPlainTextEdit* m_memo;
    // A cleared document still holds one empty block; this tells "no line"
    // from "one empty line".
    bool m_empty = false;
};
