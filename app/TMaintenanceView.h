#pragma once

#include "TMaintenance.h"

class TForm1;

// The main window as the maintenance commands see it.
class TMaintenanceView : public MaintenanceView
{
public:
    explicit TMaintenanceView(TForm1& form) : m_form(form) {}

    void ClearConsole() override;
    void ClearSwitches() override;

private:
    TForm1& m_form;
};
