#include "TestLink.h"

#include "D2xxLibrary.h"
#include "TLink.h"
#include "TZr5Com.h"

TestLink::TestLink(std::shared_ptr<D2xxBackend> backend)
{
    D2xxLibrary::instance().clearBackends();
    D2xxLibrary::instance().addBackend(std::move(backend));
    link = std::make_unique<TLink>();
    com = std::make_unique<TZr5Com>(*link, host);
}

TestLink::~TestLink()
{
    com.reset();
    link.reset();
    D2xxLibrary::instance().clearBackends();
}

bool TestLink::open()
{
    link->BuildDeviceList();
    link->OpenDevice(0);
    return link->Connected();
}
