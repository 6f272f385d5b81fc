#include "TFileResult.h"

#include "EZr5Error.h"

TFileResult TFileResult::failure(const QString& message)
{
    TFileResult result;
    result.m_ok = false;
    result.m_message = message;
    return result;
}

QString TFileResult::consoleText() const
{
    return QStringLiteral("##### Error: ") + m_message;
}

void TFileResult::addLinesWarning(const QString& what, const QList<int>& lineNumbers)
{
    if (lineNumbers.isEmpty())
        return;
    // A wrong file can make every line suspect; the console gets one line.
    constexpr int shown = 5;
    QStringList numbers;
    for (int i = 0; i < lineNumbers.size() && i < shown; ++i)
        numbers.append(QString::number(lineNumbers[i]));
    QString text =
        what + (lineNumbers.size() == 1 ? QStringLiteral(": line ") : QStringLiteral(": lines "));
    text += numbers.join(QStringLiteral(", "));
    if (lineNumbers.size() > shown)
        text += QStringLiteral(" and %1 more").arg(lineNumbers.size() - shown);
    m_warnings.append(text);
}

QStringList TFileResult::warningConsoleTexts() const
{
    QStringList texts;
    for (const QString& warning : m_warnings)
        texts.append(QStringLiteral("##### Warning: ") + warning);
    return texts;
}

void TFileResult::throwIfFailed() const
{
    if (!m_ok)
        throw EZr5Error(m_message);
}
