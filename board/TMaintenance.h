#pragma once

#include <QString>

#include <functional>

class OperationHost;
class TIdentification;
class TZr5Com;
struct TZR5Record;

// What the maintenance commands need of the main window beyond the console.
class MaintenanceView
{
public:
    virtual ~MaintenanceView() = default;

    // Removes every console line.
    virtual void ClearConsole() = 0;
    // The twelve switch boxes off, and their board parameters cleared when
    // connected.
    virtual void ClearSwitches() = 0;
};

// Direct commands for technicians and the production run: restarting the
// board, its factory defaults in the DataFlash, the reload queries and the
// single-parameter tester.
class TMaintenance
{
public:
    // Firmware below this keeps no factory defaults in the DataFlash.
    static constexpr double kFactoryDefaultsVersion = 3.805;
    static constexpr int kTestParamMax = 255;

    TMaintenance(TZr5Com& com, TZR5Record& record, OperationHost& host,
                 TIdentification& identification, MaintenanceView& view);

    // Restarts the board and waits until it answers again.
    void SystemReset();
    // "Reset ZR5": clears console and switches, restarts, identifies.
    void BtnResetClick();

    // Also a step of the production and finalize runs.
    void BtnSaveFactoryClick();
    void BtnRestoreFactoryClick();

    // "Reload Gen (9996)", "Reload Cores (9997)", "Reload FPGA (9998)",
    // "System Reset (9999)". Only BitBtn1 and BitBtn4 clear the cancel flag.
    void BitBtn4Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();

    // The parameter tester: the scroll bar moved to position with TestParam
    // holding paramText; writes the value, volatile, to that parameter while
    // connected.
    void ScrollBarTestParamChange(const QString& paramText, int position);
    // The new TestParam text after the up or down button.
    static QString SpinButton1UpClick(const QString& paramText);
    static QString SpinButton1DownClick(const QString& paramText);
    // TestParam as a number: 0 when it is not one.
    static int TestParamNumber(const QString& paramText);

private:
    void FactoryCommand(const QString& command, const QString& errorLine, bool replyVerbose,
                        const QString& successLine);
    // The reload and reset buttons' common frame around their exchange.
    void ReloadCommand(bool clearCancel, const std::function<void()>& exchange);
    void VerboseReply(int timeoutMs);

    TZr5Com& m_com;
    TZR5Record& m_record;
    OperationHost& m_host;
    TIdentification& m_identification;
    MaintenanceView& m_view;
};
