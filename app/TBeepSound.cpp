#include "TBeepSound.h"

#include <QApplication>

void TBeepSound::Play(const QString& name)
{
    Q_UNUSED(name);
    QApplication::beep();
}
