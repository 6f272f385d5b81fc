#pragma once

#include "TAppEnvironment.h"

#include <memory>

class TAboutBox;
class TForm1;
class Tdeviceselectbox;

// The program's three windows, created in their fixed order: main window
// (which fills itself as it is created), about box, device dialog. All live
// until the program ends.
class TProgram
{
public:
    explicit TProgram(const TAppEnvironment& environment);
    ~TProgram();

    TForm1& Form1() const { return *m_form1; }
    TAboutBox& AboutBox() const { return *m_aboutBox; }
    Tdeviceselectbox& deviceselectbox() const { return *m_deviceSelectBox; }

private:
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TAboutBox> m_aboutBox;
    std::unique_ptr<Tdeviceselectbox> m_deviceSelectBox;
};
