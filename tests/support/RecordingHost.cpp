#include "RecordingHost.h"

#include "Clock.h"

void RecordingHost::WaitMs(int ms)
{
    waits.append(ms);
    if (onWait)
        onWait(ms);
    if (ms <= 0)
        return;
    Clock& clock = Clock::current();
    const qint64 start = clock.nowMs();
    while (clock.nowMs() - start < ms)
        clock.waitProcessingEvents(ms - (clock.nowMs() - start));
}

void RecordingHost::ReportDone()
{
    lines << QString() << QStringLiteral("Done.") << QString();
}

void RecordingHost::ReportCancelled()
{
    progress = 0;
    lines << QStringLiteral("##### Warning: Process cancelled by user");
}

void RecordingHost::ReportTimedOut()
{
    progress = 0;
    lines << QStringLiteral("##### Warning: No response or process timed out");
}
