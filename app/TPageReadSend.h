#pragma once

class TForm1;

// "Get Params" and "Send Params" on the page shown, and what a change of tab
// does to the page buttons and the board's preset choice. The loops are
// TPageTransfer's; this decides what each tab reads or sends and what is
// shown afterwards.
class TPageReadSend
{
public:
    explicit TPageReadSend(TForm1& form);

    // Each prints its first console line and, unless the user cancelled,
    // "Done."; on the Advanced and Factory tabs nothing else happens.
    void ReadAllClick();
    void SendAllClick();
    // The user chose another tab (and once at start-up).
    void PageControl1Change();

private:
    int ShownTab() const;
    int UpperPresetChosen() const;
    int LowerPresetChosen() const;

    TForm1& m_form;
};
