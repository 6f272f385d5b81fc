#pragma once

#include <array>

class ConnectionView;
class OperationHost;
class Prompter;
class SoundPlayer;
class TZr5Com;
struct TZR5Record;

// Finding, choosing, opening and closing the board's cable; the silent
// reopen of the update and production flows; and the replug prompt when the
// cable stops answering.
class TConnection
{
public:
    static constexpr int kProbedPorts = 32;

    TConnection(TZr5Com& com, TZR5Record& record, OperationHost& host, Prompter& prompter,
                SoundPlayer& sound, ConnectionView& view);

    // The connect flow of the "Device" button.
    void BtnRescanClick();
    // The disconnect of the "Close" button; also writes its console line
    // when nothing was connected.
    void BtnCloseClick();
    // Closes without a console line.
    void CloseLink();
    // Closes, and asks the user to power-cycle and replug.
    void LinkLost();
    // Opens the remembered device again, without dialog or port probe.
    void ReopenLink();
    // ReopenLink, then checks that the board answers and identifies it.
    bool ReopenAndCheck(bool waitFirst);

    const std::array<int, kProbedPorts>& ComPortProbes() const { return m_probes; }

private:
    TZr5Com& m_com;
    TZR5Record& m_record;
    OperationHost& m_host;
    Prompter& m_prompter;
    SoundPlayer& m_sound;
    ConnectionView& m_view;
    std::array<int, kProbedPorts> m_probes{};
};
