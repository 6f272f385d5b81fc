#include "TScreenshots.h"

#include "TForm1.h"
#include "TPageArea.h"

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>

#include <utility>

QString TScreenshots::Take(TForm1& form, const QString& folder)
{
    form.ConnectWithoutDialog();
    if (!form.Link().Connected())
        return QStringLiteral("No board answered; no pictures taken.");
    const QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return QStringLiteral("Cannot make the folder %1.").arg(folder);

    const std::pair<int, const char*> shots[] = {
        {TPageArea::OrganTab, "organ.png"},
        {TPageArea::MidiCCTab, "midicc.png"},
        {TPageArea::UpperTab, "upper.png"},
        {TPageArea::AdvancedTab, "advanced.png"},
        {TPageArea::FactoryTab, "factory.png"},
    };
    for (const auto& [tab, name] : shots) {
        form.ChooseTab(tab);
        // Let the new page lay itself out and paint before it is grabbed.
        QCoreApplication::processEvents();
        const QString path = dir.filePath(QString::fromLatin1(name));
        if (!form.grab().save(path, "PNG"))
            return QStringLiteral("Cannot write %1.").arg(path);
    }
    return QString();
}
