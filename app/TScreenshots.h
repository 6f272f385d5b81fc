#pragma once

#include <QString>

class TForm1;

// Pictures of the connected window for the documentation: the Organ, Upper
// and Advanced tabs in turn, each saved as "<tab>.png".
class TScreenshots
{
public:
    // Connects without the device dialog, then saves organ.png, midicc.png,
    // upper.png, advanced.png and factory.png into folder (made when
    // missing). Returns what went
    // wrong, or an empty text.
    static QString Take(TForm1& form, const QString& folder);
};
