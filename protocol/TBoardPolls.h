#pragma once

class OperationHost;
class TZr5Com;

// The readiness polls that every operation runs before and after long steps:
// a board that is ready answers the query of parameter 253 with a line that
// contains "253".
class TBoardPolls
{
public:
    TBoardPolls(TZr5Com& com, OperationHost& host);

    // One query of parameter 253; true when the reply contains "253".
    bool ReadinessPoll();

    // Waits until the board answers, 26 polls have passed (the last one is
    // not looked at) or the user cancels. Callers look at the cancel flag.
    void WaitForBoard();

    // True only when one of the first three of up to 11 polls was answered:
    // a board that needs longer is not taken as alive.
    bool BoardAlive();

private:
    TZr5Com& m_com;
    OperationHost& m_host;
};
