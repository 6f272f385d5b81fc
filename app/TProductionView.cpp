#include "TProductionView.h"

#include "TBoardPolls.h"
#include "TConnection.h"
#include "TConsole.h"
#include "TConsoleBox.h"
#include "TDiamexPort.h"
#include "TDspUpdate.h"
#include "TForm1.h"
#include "TFpgaUpdate.h"
#include "TMaintenance.h"
#include "TToolLocator.h"

#include <QCoreApplication>
#include <QDir>

TProductionView::TProductionView(TForm1& form) : m_form(form), m_tool(form.Host())
{
#ifndef Q_OS_WIN
    // The command lines name the ISP programmer's port the Windows way.
    m_tool.SetPortMap([](const QString& port) { return TDiamexPort::DeviceName(port); });
#endif
}

QString TProductionView::ToolProgramPath() const
{
    return m_form.AppPath() + TToolLocator::ProgramFileName(QStringLiteral("avrdude"));
}

void TProductionView::ClearConsole()
{
    m_form.Console().ClearConsole();
}

void TProductionView::ReplaceConsole(const QStringList& lines)
{
    m_form.ConsoleBox()->SetLines(lines);
}

QString TProductionView::ConsoleText() const
{
    return m_form.ConsoleBox()->Lines().join(QLatin1Char('\n'));
}

void TProductionView::ProcessMessages()
{
    QCoreApplication::processEvents();
}

bool TProductionView::ProgrammingToolFound() const
{
#ifdef Q_OS_WIN
    const QDir work = QDir::current();
    return work.exists(QStringLiteral("avrdude.exe")) &&
           work.exists(QStringLiteral("avrdude.conf"));
#else
    // The tool beside the program or the one on the search path; without a
    // configuration beside it the tool's own applies.
    m_tool.SetFallbackProgram(m_form.AvrdudePath());
    return !m_tool.Prepare(ToolProgramPath(), QString()).program.isEmpty();
#endif
}

void TProductionView::RunExternalTool(const QString& programPath, const QString& parameters,
                                      bool hidden)
{
    m_tool.SetFallbackProgram(m_form.AvrdudePath());
    m_tool.RunExternalTool(programPath, parameters, hidden);
}

void TProductionView::BtnRescanClick()
{
    m_form.Connection().BtnRescanClick();
}

void TProductionView::ReopenLink()
{
    m_form.Connection().ReopenLink();
}

bool TProductionView::ReopenAndCheck(bool waitFirst)
{
    return m_form.Connection().ReopenAndCheck(waitFirst);
}

bool TProductionView::BoardAlive()
{
    return TBoardPolls(m_form.Com(), m_form.Host()).BoardAlive();
}

void TProductionView::ShowConnectedState()
{
    m_form.ShowConnectedState();
}

void TProductionView::ReadBoardInfo()
{
    m_form.ReadBoardInfo();
}

void TProductionView::ShowBoardInfo()
{
    m_form.ShowBoardInfo();
}

void TProductionView::ProductionFpgaUpdate()
{
    m_form.FpgaUpdate().ProductionFpgaUpdate();
}

void TProductionView::ProductionDspTransfer()
{
    m_form.DspUpdate().ProductionDspTransfer();
}

void TProductionView::BtnSaveFactoryClick()
{
    m_form.Maintenance().BtnSaveFactoryClick();
}
