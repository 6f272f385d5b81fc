#pragma once

class IdentificationView;
class OperationHost;
class Prompter;
class TZr5Com;
struct TZR5Record;

// Asks the board what it is (controller firmware, FPGA configuration, active
// scan core, serial number, owner) and shows it; and the predicate that tells
// the update flows whether the FPGA configuration must be rebuilt.
class TIdentification
{
public:
    TIdentification(TZr5Com& com, TZR5Record& record, OperationHost& host, Prompter& prompter,
                    IdentificationView& view);

    // Stops early, silently, when it finds the cancel flag set at one of its
    // check points. A firmware reply that is no number raises EZr5Error.
    void ReadBoardInfo();
    void ShowBoardInfo();
    bool FpgaConfigMissing() const;
    void PromptInsertConfDis();
    void PromptRemoveConfDis();

private:
    TZr5Com& m_com;
    TZR5Record& m_record;
    OperationHost& m_host;
    Prompter& m_prompter;
    IdentificationView& m_view;
};
