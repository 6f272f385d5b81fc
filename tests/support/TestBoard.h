#pragma once

#include "FakeClock.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class BoardEngine;
class SimBoardBackend;
class TLink;

// What a window test with a board needs: simulated time, the in-process
// simulated board as the only device, and a program folder of its own.
class TestBoard
{
public:
    TestBoard();
    ~TestBoard();

    // Lists the devices on link and opens the board; true when connected.
    bool open(TLink& link);
    BoardEngine& engine() const;
    // Every line the board took so far, without its CR.
    QStringList sentLines() const;

    FakeClock clock;
    std::shared_ptr<SimBoardBackend> board;
    QTemporaryDir dir;
};
