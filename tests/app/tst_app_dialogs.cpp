#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "TAboutBox.h"
#include "TForm1.h"
#include "TMainMenu.h"
#include "TProgram.h"
#include "Tdeviceselectbox.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

class TstAppDialogs : public QObject
{
    Q_OBJECT

private slots:
    void aboutBoxContents();
    void aboutBoxShowsVersionEveryTime();
    void deviceDialogLayout();
    void deviceDialogResult_data();
    void deviceDialogResult();

private:
    TAppEnvironment environment(const QTemporaryDir& dir)
    {
        TAppEnvironment env;
        env.appPath = dir.path();
        env.prompter = &m_prompter;
        env.sound = &m_sound;
        return env;
    }

    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
};

void TstAppDialogs::aboutBoxContents()
{
    TAboutBox about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About ZR5 Remote"));
    QCOMPARE(about.Version()->objectName(), QStringLiteral("Version"));
    QCOMPARE(about.Version()->text(), QStringLiteral("Version 4.10"));
    QVERIFY(about.Comments()->isReadOnly());
    const QStringList lines = about.Comments()->toPlainText().split('\n');
    QCOMPARE(lines.mid(0, 4),
             (QStringList{"Update/Remote Utility for ZR5 Organ Module", "",
                          "Requires ZR5 firmware 3.52 and up for edit mode. FPGA and ",
                          "AVR update also work on older versions."}));
    QVERIFY(lines.last().endsWith("for details on installation and usage."));
    QVERIFY(lines.last().contains("README.md"));
    QCOMPARE(about.OKButton()->objectName(), QStringLiteral("OKButton"));
    QVERIFY(about.OKButton()->isDefault());
}

void TstAppDialogs::aboutBoxShowsVersionEveryTime()
{
    QTemporaryDir dir;
    TProgram program(environment(dir));
    TForm1& form = program.Form1();
    TAboutBox& about = program.AboutBox();

    QStringList shown;
    auto answerWithOk = [&] {
        QTimer::singleShot(0, &about, [&] {
            shown << (about.isVisible() ? about.Version()->text() : QString("(not shown)"));
            about.OKButton()->click();
        });
    };

    answerWithOk();
    form.MainMenu1()->HelpAbout1()->trigger();
    QVERIFY(!about.isVisible());

    // Whatever the label said meanwhile, the box shows the version again.
    about.Version()->setText("something else");
    answerWithOk();
    form.HelpAbout1Execute();

    QCOMPARE(shown, (QStringList{"Version 4.10", "Version 4.10"}));
}

void TstAppDialogs::deviceDialogLayout()
{
    Tdeviceselectbox dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Select USB Device"));
    auto* label = dialog.findChild<QLabel*>();
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Select FTDI Cable or  FT232R device:"));

    QTreeWidget* list = dialog.ListView1();
    QCOMPARE(list->objectName(), QStringLiteral("ListView1"));
    QCOMPARE(list->columnCount(), 3);
    const QStringList headers{"USB Device", "FTDI Serial", "Description"};
    const QList<int> widths{100, 100, 250};
    for (int c = 0; c < 3; ++c) {
        QCOMPARE(list->headerItem()->text(c), headers[c]);
        QCOMPARE(list->columnWidth(c), widths[c]);
    }
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!list->rootIsDecorated());

    QCOMPARE(dialog.OKButton()->text(), QStringLiteral("OK"));
    QVERIFY(dialog.OKButton()->isDefault());
    QCOMPARE(dialog.CancelButton()->text(), QStringLiteral("Cancel"));
}

void TstAppDialogs::deviceDialogResult_data()
{
    QTest::addColumn<int>("devices");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("row");

    const int ok = QDialog::Accepted;
    const int cancelled = QDialog::Rejected;
    QTest::newRow("ok, first row") << 2 << 0 << "ok" << ok << 0;
    QTest::newRow("ok, second row") << 2 << 1 << "ok" << ok << 1;
    QTest::newRow("ok without a selection") << 2 << -1 << "ok" << cancelled << -1;
    QTest::newRow("ok on an empty list") << 0 << -1 << "ok" << cancelled << -1;
    QTest::newRow("cancel with a selection") << 2 << 1 << "cancel" << cancelled << 1;
    QTest::newRow("double click on a row") << 2 << -1 << "double click row 1" << ok << 1;
    QTest::newRow("escape") << 1 << 0 << "escape" << cancelled << 0;
}

void TstAppDialogs::deviceDialogResult()
{
    QFETCH(int, devices);
    QFETCH(int, selected);
    QFETCH(QString, action);
    QFETCH(int, result);
    QFETCH(int, row);

    Tdeviceselectbox dialog;
    for (int i = 0; i < devices; ++i)
        dialog.AddDevice(QStringLiteral("Device %1").arg(i), QStringLiteral("FT00%1").arg(i),
                         "ZR5 cable");
    dialog.SelectRow(selected);

    QTimer::singleShot(0, &dialog, [&] {
        if (action == "ok") {
            dialog.OKButton()->click();
        } else if (action == "cancel") {
            dialog.CancelButton()->click();
        } else if (action == "escape") {
            QTest::keyClick(&dialog, Qt::Key_Escape);
        } else {
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QTreeWidget* list = dialog.ListView1();
            const QRect cell = list->visualItemRect(list->topLevelItem(1));
            // A double click as the window system delivers it.
            const QPointF at = cell.center();
            const QPointF global = list->viewport()->mapToGlobal(at);
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                      QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
                const bool down = type != QEvent::MouseButtonRelease;
                QMouseEvent event(type, at, global, Qt::LeftButton,
                                  down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
                QCoreApplication::sendEvent(list->viewport(), &event);
            }
        }
        // A step that did not end the dialog must not hang the test.
        if (dialog.isVisible())
            dialog.done(-1);
    });
    QCOMPARE(dialog.exec(), result);
    QCOMPARE(dialog.SelectedRow(), row);
}

QTEST_MAIN(TstAppDialogs)
#include "tst_app_dialogs.moc"
