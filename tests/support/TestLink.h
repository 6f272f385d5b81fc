#pragma once

#include "FakeClock.h"
#include "RecordingHost.h"

#include <memory>

class D2xxBackend;
class TLink;
class TZr5Com;

// The line layer of a test on simulated time: the clock, the device layer
// with one back end, the link, a recording host and the protocol on top.
class TestLink
{
public:
    explicit TestLink(std::shared_ptr<D2xxBackend> backend);
    ~TestLink();

    // Lists the devices and opens the first one; true when connected.
    bool open();

    FakeClock clock;
    std::unique_ptr<TLink> link;
    RecordingHost host;
    std::unique_ptr<TZr5Com> com;
};
