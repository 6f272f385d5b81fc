#include "TConsoleBox.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

TConsoleBox::TConsoleBox(QWidget* parent)
    : QGroupBox("ZR5 Response/Messages", parent), m_memo(new QPlainTextEdit(this))
{
    setObjectName("ConsoleBox");
    m_memo->setObjectName("Memo1");
    m_memo->setFont(ConsoleFont());
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setPlainText("Console");
    // Operations can write thousands of lines; undo would keep them twice.
    m_memo->setUndoRedoEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_memo);
}

QFont TConsoleBox::ConsoleFont()
{
    QFont font = QFontDatabase::hasFamily("Lucida Console")
                     ? QFont("Lucida Console")
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(12);
    return font;
}

void TConsoleBox::AddLine(const QString& text)
{
    // A cursor of our own leaves the user's cursor and selection alone.
    QTextCursor end(m_memo->document());
    end.movePosition(QTextCursor::End);
    if (!(m_empty && m_memo->document()->isEmpty()))
        end.insertBlock();
    end.insertText(text);
    m_empty = false;
    QScrollBar* bar = m_memo->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void TConsoleBox::Clear()
{
    m_memo->clear();
    m_empty = true;
}

void TConsoleBox::SetLines(const QStringList& lines)
{
    Clear();
    for (const QString& line : lines)
        AddLine(line);
}

QStringList TConsoleBox::Lines() const
{
    if (m_empty && m_memo->document()->isEmpty())
        return {};
    QStringList lines;
    for (QTextBlock block = m_memo->document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}
