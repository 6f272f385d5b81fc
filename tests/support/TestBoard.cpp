#include "TestBoard.h"

#include "BoardEngine.h"
#include "D2xxLibrary.h"
#include "SimBoardBackend.h"
#include "TLink.h"

TestBoard::TestBoard() : board(std::make_shared<SimBoardBackend>(std::make_shared<BoardEngine>()))
{
    D2xxLibrary::instance().clearBackends();
    D2xxLibrary::instance().addBackend(board);
}

TestBoard::~TestBoard()
{
    D2xxLibrary::instance().clearBackends();
}

bool TestBoard::open(TLink& link)
{
    link.BuildDeviceList();
    link.OpenDevice(0);
    return link.Connected() && link.DeviceCount() == 1;
}

BoardEngine& TestBoard::engine() const
{
    return board->engine();
}

QStringList TestBoard::sentLines() const
{
    QStringList lines;
    for (const BoardEngine::ReceivedLine& line : engine().receivedLines())
        lines << QString::fromLatin1(line.text).trimmed();
    return lines;
}
