#pragma once

#include <QByteArray>
#include <QString>

class BoardEngine;
class SimMidiInput;

// Serves a BoardEngine on a pseudo-terminal, single-threaded: it sleeps in
// ppoll() until the host writes or the next reply byte is due, so an idle
// simulator costs no CPU.
//
// The server keeps a descriptor of the terminal's own (slave) side open all
// the time: without it, the last client closing the port would hang the
// terminal up, and a reopening client would find it dead.
class PtyServer
{
public:
    explicit PtyServer(BoardEngine& engine);
    ~PtyServer(); // closes the terminal and removes the link

    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    bool open(QString* error);
    // Path of the terminal side that clients open, after open().
    const QString& slavePath() const { return m_slavePath; }

    // Makes path a symbolic link to the terminal; a symbolic link already
    // there (left by a simulator that was killed) is replaced, anything else
    // is refused.
    bool makeLink(const QString& path, QString* error);
    // Removes the link if it still points to this server's terminal.
    void removeLink();

    void setVerbose(bool verbose) { m_verbose = verbose; }
    // Also waits on the MIDI control channel and reads it as it comes.
    void setMidiInput(SimMidiInput* input) { m_midiInput = input; }

    // From here on, SIGTERM, SIGINT and SIGHUP make run() return; they are
    // held back outside its wait so that none is lost in between.
    static void installStopSignals();
    // Serves until a stop signal; returns the exit code.
    int run();

private:
    static qint64 monotonicUs();
    void deliver(qint64 nowUs);
    void readHost();
    void watchClients();
    void clientClosed();
    // The hang-up fault: closes the terminal as a pulled cable would.
    void hangUp();
    void logLines();
    void log(const char* who, const QByteArray& bytes) const;

    BoardEngine& m_engine;
    int m_master = -1;
    int m_slave = -1;  // held open, never read
    int m_notify = -1; // inotify on the terminal node, -1 when unavailable
    QString m_slavePath;
    QString m_linkPath;
    bool m_verbose = false;
    qint64 m_startUs = 0;
    bool m_hangUpDue = false;
    SimMidiInput* m_midiInput = nullptr;
};
