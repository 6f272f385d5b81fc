#pragma once

#include <QString>

#include <stdexcept>

// A raised error: misuse of the device wrapper, a failed number conversion or
// a file that cannot be read. It ends the running handler, whose caller shows
// the text in a message box; the program goes on.
class EZr5Error : public std::runtime_error
{
public:
    explicit EZr5Error(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }

    QString message() const { return m_message; }

private:
    QString m_message;
};
