#pragma once

#include "D2xxBackend.h"

#include <memory>

class BoardEngine;

// The in-process simulated board as a device of the D2XX-shaped layer: no pty
// and no threads, and on the program clock, so a test on simulated time sees
// replies, delays and silences without waiting for them.
class SimBoardBackend : public D2xxBackend
{
public:
    static constexpr const char* kSerial = "ZR5SIM01";
    static constexpr const char* kDescription = "ZR5 simulated board";

    explicit SimBoardBackend(std::shared_ptr<BoardEngine> engine);

    QList<d2xx::DeviceInfo> devices() override;
    std::unique_ptr<D2xxPort> open(const QByteArray& serialNumber,
                                   d2xx::Status* status) override;

    BoardEngine& engine() const { return *m_engine; }
    // Unplugs (false) or replugs (true) the simulated cable: an unplugged
    // board is not listed, refuses to open and fails every call of an open port.
    void setPlugged(bool plugged);
    bool plugged() const { return *m_plugged; }
    bool isOpen() const { return *m_openCount > 0; }

private:
    std::shared_ptr<BoardEngine> m_engine;
    std::shared_ptr<bool> m_plugged;
    std::shared_ptr<int> m_openCount;
};
