#pragma once

#include "ProductionSteps.h"
#include "RecordingHost.h"
#include "TZr5Com.h"

#include <QDir>
#include <QFile>
#include <QQueue>

#include <functional>
#include <optional>

// The window's side of a production run, recorded: the console is the
// recording host's, the tool writes the scripted log into its folder, and
// the other parts' steps only note that they ran and count what the test
// tells them to.
class FakeProductionSteps : public ProductionSteps
{
public:
    struct ToolRun
    {
        QString programPath;
        QString parameters;
        bool hidden;
    };

    FakeProductionSteps(RecordingHost& host, TZr5Com& com) : m_host(host), m_com(com) {}

    void ClearConsole() override
    {
        calls << "ClearConsole";
        m_host.lines.clear();
    }
    void ReplaceConsole(const QStringList& lines) override { m_host.lines = lines; }
    QString ConsoleText() const override { return m_host.lines.join(QLatin1Char('\n')); }
    void ProcessMessages() override {}

    bool ProgrammingToolFound() const override { return toolFound; }
    void RunExternalTool(const QString& programPath, const QString& parameters,
                         bool hidden) override
    {
        toolRuns.append({programPath, parameters, hidden});
        if (onToolRun)
            onToolRun(toolRuns.last());
        if (log && parameters.contains(QStringLiteral("-l \"avrdude.log\""))) {
            QFile file(QDir(QFileInfo(programPath).absolutePath()).filePath("avrdude.log"));
            if (file.open(QIODevice::WriteOnly))
                file.write(log->toLocal8Bit());
        }
    }

    void BtnRescanClick() override { step("BtnRescanClick"); }
    void ReopenLink() override { step("ReopenLink"); }
    bool ReopenAndCheck(bool waitFirst) override
    {
        step(waitFirst ? "ReopenAndCheck(true)" : "ReopenAndCheck(false)");
        return reopenAnswers;
    }
    bool BoardAlive() override
    {
        step("BoardAlive");
        return boardAlive;
    }
    void ShowConnectedState() override { step("ShowConnectedState"); }
    void ReadBoardInfo() override { step("ReadBoardInfo"); }
    void ShowBoardInfo() override { step("ShowBoardInfo"); }
    void ProductionFpgaUpdate() override
    {
        step("ProductionFpgaUpdate");
        if (fpgaError)
            m_com.SetError(*fpgaError);
    }
    void ProductionDspTransfer() override
    {
        step("ProductionDspTransfer");
        if (!dspFailures.isEmpty() && dspFailures.dequeue())
            m_com.SetError(TErrorKind::FlashErr);
    }
    void BtnSaveFactoryClick() override { step("BtnSaveFactoryClick"); }

    // Log content the tool writes when asked for a log; none: no log.
    std::optional<QString> log = QStringLiteral("avrdude: Device signature = 0x1e960a\n");
    bool toolFound = true;
    bool reopenAnswers = true;
    bool boardAlive = true;
    std::optional<TErrorKind> fpgaError;
    // One entry per reverb transfer: true when it fails.
    QQueue<bool> dspFailures;
    // Runs after a step was noted, e.g. to press Cancel there.
    std::function<void(const QString& step)> onStep;
    // Runs while the tool runs, e.g. to press Cancel then.
    std::function<void(const ToolRun& run)> onToolRun;

    QStringList calls;
    QList<ToolRun> toolRuns;

private:
    void step(const char* name)
    {
        calls << QString::fromLatin1(name);
        if (onStep)
            onStep(calls.last());
    }

    RecordingHost& m_host;
    TZr5Com& m_com;
};
