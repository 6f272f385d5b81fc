#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// The values a board leaves the factory with, taken from the table files
// that ship beside the program: column 2 of the three page files under the
// parameter number in column 0, and preset entry k as parameter 1000 + k
// (upper) or 1256 + k (lower). The files are read with the program's own
// readers, so the simulated board and the pages agree on what a file means.
class BoardFactoryValues
{
public:
    static const QStringList& pageFileNames();
    static QString upperPresetFileName();
    static QString lowerPresetFileName();

    struct Result
    {
        QMap<int, int> values;
        // One line per file that could not be read or read with defaults.
        QStringList problems;
    };

    // A file that is missing or unreadable gives no values and one problem;
    // the others are still taken.
    static Result load(const QString& folder);
};
