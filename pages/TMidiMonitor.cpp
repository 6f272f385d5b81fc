#include "TMidiMonitor.h"

bool TMidiMonitor::ShouldPoll(bool connected, double firmwareVersion, bool midiTabShown)
{
    return connected && firmwareVersion >= kFirstFirmware && midiTabShown;
}

TMidiMonitor::Step TMidiMonitor::Take(int reply, int lastRow)
{
    const TMidiMessage message = TMidiMessage::Unpack(reply);
    Step step;
    step.text = message.Text();
    if (!message.IsControlChange() || message.data2 == m_lastMidiValue)
        return step;
    const int row = message.data1 + 1;
    if (row > lastRow)
        return step;
    m_lastMidiValue = message.data2;
    step.row = row;
    step.value = message.data2;
    return step;
}
