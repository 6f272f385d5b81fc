#include "TMaintenanceView.h"

#include "TConsole.h"
#include "TForm1.h"

void TMaintenanceView::ClearConsole()
{
    m_form.Console().ClearConsole();
}

void TMaintenanceView::ClearSwitches()
{
    m_form.ClearSwitches();
}
