#pragma once

#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Makers for the plain controls of the window: each gets its component name
// as objectName, its caption and its hint, so that every region reads as a
// list of components.
class TControls
{
public:
    static QPushButton* Button(QWidget* parent, const QString& name, const QString& caption,
                               const QString& hint = {});
    static QCheckBox* CheckBox(QWidget* parent, const QString& name, const QString& caption,
                               const QString& hint = {});
    static QLabel* Label(QWidget* parent, const QString& name, const QString& text);
    static QLineEdit* Edit(QWidget* parent, const QString& name, const QString& text,
                           const QString& hint = {});
    static QLineEdit* ReadOnlyEdit(QWidget* parent, const QString& name, const QString& text,
                                   const QString& hint = {});
    // A drop-down list that offers only its items.
    static QComboBox* List(QWidget* parent, const QString& name, const QStringList& items,
                           int index, const QString& hint = {});
};
