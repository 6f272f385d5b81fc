#include "TBoardPolls.h"

#include "OperationHost.h"
#include "TZr5Com.h"

TBoardPolls::TBoardPolls(TZr5Com& com, OperationHost& host) : m_com(com), m_host(host) {}

bool TBoardPolls::ReadinessPoll()
{
    return m_com.QueryParam(253).contains(QLatin1String("253"));
}

void TBoardPolls::WaitForBoard()
{
    m_host.WaitMs(500);
    int polls = 0;
    for (;;) {
        m_host.FlashBusyLed();
        const bool answered = ReadinessPoll();
        m_host.WaitMs(250);
        ++polls;
        if (polls > 25) {
            m_host.ReportTimedOut();
            return;
        }
        if (m_host.CancelRequested()) {
            m_host.ReportCancelled();
            return;
        }
        if (answered)
            return;
    }
}

bool TBoardPolls::BoardAlive()
{
    int answeredAt = 0;
    for (int poll = 1; poll <= 11; ++poll) {
        const bool answered = ReadinessPoll();
        m_host.WaitMs(250);
        if (answered) {
            answeredAt = poll;
            break;
        }
    }
    return answeredAt >= 1 && answeredAt <= 3;
}
