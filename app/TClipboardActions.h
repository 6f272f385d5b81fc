#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

// Cut, copy and paste on whichever text box has the focus: cut and copy are
// offered while it has selected text, paste while the clipboard holds text.
class TClipboardActions : public QObject
{
    Q_OBJECT

public:
    TClipboardActions(QAction* cut, QAction* copy, QAction* paste, QObject* parent = nullptr);

    void EditCut1Execute();
    void EditCopy1Execute();
    void EditPaste1Execute();

private:
    void FocusChanged(QWidget* old, QWidget* now);
    void UpdateStates();
    bool HasSelection() const;
    bool IsReadOnly() const;

    QAction* m_cut;
    QAction* m_copy;
    QAction* m_paste;
    QPointer<QWidget> m_target;
};
