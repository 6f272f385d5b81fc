#include "TConsole.h"

#include "Clock.h"
#include "TConsoleBox.h"
#include "TProgressBox.h"

#include <QCheckBox>
#include <QCoreApplication>

TConsole::TConsole(TConsoleBox& console, TProgressBox& progress, QCheckBox& verbose)
    : m_console(console), m_progress(progress), m_verbose(verbose)
{
}

void TConsole::WaitMs(int ms)
{
    if (ms <= 0)
        return;
    Clock& clock = Clock::current();
    const qint64 start = clock.nowMs();
    // A wait may come back early (an event woke it), so the deadline decides.
    for (qint64 elapsed = 0; elapsed < ms; elapsed = clock.nowMs() - start)
        clock.waitProcessingEvents(ms - elapsed);
}

void TConsole::FlashBusyLed()
{
    SetBusyLed(true);
    m_progress.SetBusyLedCountdown(10);
    QCoreApplication::processEvents();
}

void TConsole::ConsoleLine(const QString& text)
{
    m_console.AddLine(text);
}

void TConsole::VerboseLine(const QString& text)
{
    if (m_verbose.isChecked())
        m_console.AddLine(text);
}

void TConsole::ReportDone()
{
    m_console.AddLine(QString());
    m_console.AddLine(QStringLiteral("Done."));
    m_console.AddLine(QString());
}

void TConsole::ReportCancelled()
{
    m_progress.SetProgress(0);
    m_console.AddLine(QStringLiteral("##### Warning: Process cancelled by user"));
}

void TConsole::ReportTimedOut()
{
    m_progress.SetProgress(0);
    m_console.AddLine(QStringLiteral("##### Warning: No response or process timed out"));
}

bool TConsole::CancelRequested() const
{
    return m_progress.CancelFlag() != 0;
}

void TConsole::SetCancelFlag(int flag)
{
    m_progress.SetCancelFlag(flag);
}

int TConsole::CancelFlag() const
{
    return m_progress.CancelFlag();
}

void TConsole::SetProgress(int position)
{
    m_progress.SetProgress(position);
}

void TConsole::SetProgressMax(int maximum)
{
    m_progress.SetProgressMax(maximum);
}

void TConsole::SetBusyLed(bool on)
{
    m_progress.SetBusyLed(on);
}

void TConsole::ClearConsole()
{
    m_console.Clear();
}
