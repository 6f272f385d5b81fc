#pragma once

#include "TAvrUpdate.h"

class TForm1;

// The main window as the controller update sees it.
class TAvrUpdateView : public AvrUpdateView
{
public:
    explicit TAvrUpdateView(TForm1& form) : m_form(form) {}

    void ShowConnectedState() override;
    void ShowDisconnectedState() override;
    void SetDeviceView(const QString& text) override;
    void Repaint() override;
    void ShowTables() override;
    void StateToControls() override;
    void ControlsToState() override;

private:
    TForm1& m_form;
};
