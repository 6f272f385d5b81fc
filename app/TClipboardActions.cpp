#include "TClipboardActions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>

TClipboardActions::TClipboardActions(QAction* cut, QAction* copy, QAction* paste, QObject* parent)
    : QObject(parent), m_cut(cut), m_copy(copy), m_paste(paste)
{
    connect(qApp, &QApplication::focusChanged, this, &TClipboardActions::FocusChanged);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &TClipboardActions::UpdateStates);
    connect(m_cut, &QAction::triggered, this, &TClipboardActions::EditCut1Execute);
    connect(m_copy, &QAction::triggered, this, &TClipboardActions::EditCopy1Execute);
    connect(m_paste, &QAction::triggered, this, &TClipboardActions::EditPaste1Execute);
    FocusChanged(nullptr, QApplication::focusWidget());
}

void TClipboardActions::FocusChanged(QWidget* old, QWidget* now)
{
    Q_UNUSED(old);
    // While the user picks a menu entry the text box that had the focus
    // stays the target; so does it when the window loses the focus.
    if (!now || qobject_cast<QMenu*>(now) || qobject_cast<QMenuBar*>(now))
        return;
    QWidget* target = nullptr;
    if (qobject_cast<QLineEdit*>(now) || qobject_cast<QPlainTextEdit*>(now) ||
        qobject_cast<QTextEdit*>(now))
        target = now;
    if (m_target)
        disconnect(m_target, nullptr, this, nullptr);
    m_target = target;
    if (!target) {
        UpdateStates();
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(target))
        connect(line, &QLineEdit::selectionChanged, this, &TClipboardActions::UpdateStates);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(target))
        connect(plain, &QPlainTextEdit::selectionChanged, this, &TClipboardActions::UpdateStates);
    else if (auto* rich = qobject_cast<QTextEdit*>(target))
        connect(rich, &QTextEdit::selectionChanged, this, &TClipboardActions::UpdateStates);
    UpdateStates();
}

bool TClipboardActions::HasSelection() const
{
    if (auto* line = qobject_cast<QLineEdit*>(m_target))
        return line->hasSelectedText();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(m_target))
        return plain->textCursor().hasSelection();
    if (auto* rich = qobject_cast<QTextEdit*>(m_target))
        return rich->textCursor().hasSelection();
    return false;
}

bool TClipboardActions::IsReadOnly() const
{
    if (auto* line = qobject_cast<QLineEdit*>(m_target))
        return line->isReadOnly();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(m_target))
        return plain->isReadOnly();
    if (auto* rich = qobject_cast<QTextEdit*>(m_target))
        return rich->isReadOnly();
    return true;
}

void TClipboardActions::UpdateStates()
{
    const bool selection = m_target && HasSelection();
    m_cut->setEnabled(selection && !IsReadOnly());
    m_copy->setEnabled(selection);
    m_paste->setEnabled(m_target && !IsReadOnly() && !QApplication::clipboard()->text().isEmpty());
}

void TClipboardActions::EditCut1Execute()
{
    if (auto* line = qobject_cast<QLineEdit*>(m_target))
        line->cut();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(m_target))
        plain->cut();
    else if (auto* rich = qobject_cast<QTextEdit*>(m_target))
        rich->cut();
}

void TClipboardActions::EditCopy1Execute()
{
    if (auto* line = qobject_cast<QLineEdit*>(m_target))
        line->copy();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(m_target))
        plain->copy();
    else if (auto* rich = qobject_cast<QTextEdit*>(m_target))
        rich->copy();
}

void TClipboardActions::EditPaste1Execute()
{
    if (auto* line = qobject_cast<QLineEdit*>(m_target))
        line->paste();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(m_target))
        plain->paste();
    else if (auto* rich = qobject_cast<QTextEdit*>(m_target))
        rich->paste();
}
