#include "THandlerGuard.h"

#include "EZr5Error.h"
#include "Prompter.h"

bool THandlerGuard::Run(Prompter& prompter, const std::function<void()>& body)
{
    try {
        body();
        return true;
    } catch (const EZr5Error& error) {
        prompter.MessageBox(Prompter::Icon::Error, error.message(), Prompter::Buttons::Ok);
        return false;
    }
}
