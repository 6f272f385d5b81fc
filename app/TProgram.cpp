#include "TProgram.h"

#include "TAboutBox.h"
#include "TForm1.h"
#include "Tdeviceselectbox.h"

TProgram::TProgram(const TAppEnvironment& environment)
{
    m_form1 = std::make_unique<TForm1>(environment);
    m_aboutBox = std::make_unique<TAboutBox>();
    m_deviceSelectBox = std::make_unique<Tdeviceselectbox>();
    m_form1->SetAboutBox(m_aboutBox.get());
    m_form1->SetDeviceSelectBox(m_deviceSelectBox.get());
}

TProgram::~TProgram()
{
    // The main window shuts down first, while the dialogs it may still
    // refer to exist.
    m_form1.reset();
}
