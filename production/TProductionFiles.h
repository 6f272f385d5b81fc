#pragma once

#include <QDir>
#include <QString>

class OperationHost;
class ProductionSteps;
class TZr5Com;
struct TZR5Record;

// The files a production run needs in its working folder: the FPGA
// configuration, the controller firmware, the programming tool and the
// DataFlash images of the file set.
class TProductionFiles
{
public:
    TProductionFiles(TZr5Com& com, TZR5Record& record, OperationHost& host, ProductionSteps& steps);

    // Checks every file in folder, also after a missing one; each missing
    // file writes its console line and most count a FileErr. Remembers the
    // configuration and firmware files found (empty when none). True when
    // anything is missing.
    bool CheckProductionFiles(const QDir& folder);

    // First name matching the wildcard pattern, letters in any case as the
    // Windows file system matches them; empty when none.
    static QString FirstMatch(const QDir& folder, const QString& pattern);

private:
    // Counts the error when counted; always reports the row as missing.
    void Missing(const QString& line, bool counted);

    TZr5Com& m_com;
    TZR5Record& m_record;
    OperationHost& m_host;
    ProductionSteps& m_steps;
};
