#pragma once

#include <functional>

class Prompter;

// A raised EZr5Error ends the handler it escapes from: the user sees its text
// in an error box and the program goes on. Every handler that can raise runs
// its body through here, since an exception must not unwind through the
// toolkit's event dispatch.
class THandlerGuard
{
public:
    // False when the body was ended by an error.
    static bool Run(Prompter& prompter, const std::function<void()>& body);
};
