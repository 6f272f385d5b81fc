#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// "About ZR5 Remote": icon, version and a few lines on what the program needs.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    static inline const QString kVersionText = QStringLiteral("Version 4.10");

    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* Version() const { return m_version; }
    QPlainTextEdit* Comments() const { return m_comments; }
    QPushButton* OKButton() const { return m_okButton; }

private:
    QLabel* m_programIcon;
    QLabel* m_version;
    QPlainTextEdit* m_comments;
    QPushButton* m_okButton;
};
