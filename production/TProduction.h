#pragma once

#include "TIspProgrammer.h"
#include "TProductionFiles.h"

#include <QString>

class OperationHost;
class ProductionSteps;
class Prompter;
class SoundPlayer;
class TPageModel;
class TZr5Com;
struct TZR5Record;

// Brings a newly assembled board into a state ready for test in one run:
// the controller by ISP, then through the FTDI cable the FPGA configuration
// and the file set, the reverb program and the factory defaults, with the
// operator moving cables and jumpers when a box asks. Also the smaller
// production commands: Finalize, controller-only programming and the fuse
// repair.
class TProduction
{
public:
    TProduction(TZr5Com& com, TZR5Record& record, TPageModel& pages, OperationHost& host,
                Prompter& prompter, SoundPlayer& sound, ProductionSteps& steps,
                const QString& toolProgramPath);

    // "Production Prgrm" with the firmware chosen and the ISP port typed.
    void ProdProgClick(const QString& firmwareFile, const QString& port);
    // "Finalize": three organ settings non-volatile, then the factory save.
    void BtnWriteBasicsClick();
    // "AVR only": the ISP stage of the run, then a look at the board.
    void BtnAVRonlyClick(const QString& firmwareFile, const QString& port);
    // "Repair Fuses": fuse and lock bits only, the log shown.
    void BtnSetFuseBits(const QString& port);

    // The production files in the working directory; true when any is missing.
    bool CheckProductionFiles();
    bool IspProgram(const QString& flashFile, const QString& port);
    // The closing box of a run that did not end in the plain success box,
    // by the counted errors.
    void ShowProductionResult(const QString& text);

    TIspProgrammer& Programmer() { return m_programmer; }

private:
    TZr5Com& m_com;
    TZR5Record& m_record;
    TPageModel& m_pages;
    OperationHost& m_host;
    Prompter& m_prompter;
    SoundPlayer& m_sound;
    ProductionSteps& m_steps;
    TProductionFiles m_files;
    TIspProgrammer m_programmer;
    // Set while one of the four commands runs. The tool and the waits let
    // the window work, and a second command then would drive the programmer
    // or the board in the middle of the first; it is ignored.
    bool m_running = false;
};
