#include "routines/LocateDatabaseDialog.h"

#include "config/SettingsKeys.h"
#include "routines/RoutineStore.h"
#include "support/GuiTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace qv;
using namespace qv::test;

namespace {

std::string databaseSetting(const GuiEnvironment& env)
{
    return env.settingsValue(keys::kDatabaseSection, keys::kDatabaseKey);
}

} // namespace

class LocateDatabaseDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void addressIsWrittenByApplyOrOk();
    void failedWriteIsReportedAndTheDialogStays();
    void loadReportsDatabaseProblems();
};

void LocateDatabaseDialogTest::addressIsWrittenByApplyOrOk()
{
    GuiEnvironment env;
    LocateDatabaseDialog dialog;
    dialog.show();
    dialog.m_browseButton->click(); // cancelled: nothing queued
    QVERIFY(dialog.m_databasePathEdit->text().isEmpty() && !dialog.m_applyButton->isEnabled());
    QCOMPARE(env.dialogs().calls().value(0).filter,
             QStringLiteral("Routine Database File (Batch_CAD.dat)|Batch_CAD.dat|All Database File (*.dat)|*.dat|"
                            "All Files (*.*)|*.*"));
    dialog.m_databasePathEdit->setText(QStringLiteral("   "));
    dialog.m_okButton->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(databaseSetting(env), std::string("Unknown"));
    QCOMPARE(env.dialogs().messages().value(0), (UserMessage{"Please Enter The Address for the Routine Database file.",
                                                             "Error", MessageIcon::Exclamation}));

    // Browse fills the address and enables Apply, which writes it and keeps the dialog open.
    env.dialogs().clear();
    const QString chosen = env.file(QStringLiteral("Batch_CAD.dat"));
    env.dialogs().queueFiles({chosen});
    dialog.m_browseButton->click();
    QCOMPARE(dialog.m_databasePathEdit->text(), chosen);
    dialog.m_applyButton->click();
    QCOMPARE(databaseSetting(env), chosen.toStdString());
    QVERIFY(dialog.isVisible());
    QVERIFY(env.dialogs().messages().isEmpty());

    // A typed path is taken as it stands, whether or not the file exists yet; OK closes.
    const QString typed = env.file(QStringLiteral("elsewhere/Routines.dat"));
    dialog.m_databasePathEdit->setText(typed);
    dialog.m_okButton->click();
    QCOMPARE(databaseSetting(env), typed.toStdString());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(env.dialogs().messages().value(0),
             (UserMessage{"You will have to restart Quorvel for the changes to take affect.", "Quorvel Explanation",
                          MessageIcon::Information}));
    dialog.show();
    dialog.m_cancelButton->click();
    QVERIFY(!dialog.isVisible());
}

void LocateDatabaseDialogTest::failedWriteIsReportedAndTheDialogStays()
{
    GuiEnvironment env;
    // A folder where the settings file should be makes every write fail.
    QVERIFY(QDir(env.folder()).mkdir(QStringLiteral("Quorvel.ini")));
    LocateDatabaseDialog dialog;
    dialog.show();
    dialog.m_databasePathEdit->setText(env.file(QStringLiteral("Batch_Cad.dat")));
    for (auto [button, routine] : {std::pair{dialog.m_applyButton, "in routine cmdApply_Click"},
                                   std::pair{dialog.m_okButton, "in routine cmdOK_Click"}}) {
        env.dialogs().clear();
        button->setEnabled(true);
        button->click();
        QVERIFY(dialog.isVisible());
        const auto messages = env.dialogs().messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].title == "Quorvel Error" && messages[0].text.find(routine) != std::string::npos,
                 messages[0].text.c_str());
    }
}

void LocateDatabaseDialogTest::loadReportsDatabaseProblems()
{
    GuiEnvironment env;
    // A recorded path in a missing folder: the locate dialog explains, and the user can point elsewhere.
    const std::string missing = env.file(QStringLiteral("missing/Batch_Cad.dat")).toStdString();
    storeSetting(keys::kDatabaseSection, keys::kDatabaseKey, missing);
    databaseNoticeShown() = false;
    makeCatalogue().resize(1);
    QString shownText;
    const QString fixed = env.file(QStringLiteral("Batch_Cad.dat"));
    whenModalOpens<LocateDatabaseDialog>(qApp, [&](LocateDatabaseDialog* dialog) {
        shownText = dialog->m_explanationLabel->text();
        dialog->m_databasePathEdit->setText(fixed);
        dialog->m_okButton->click();
    });
    QVERIFY(!loadCatalogue());
    QCOMPARE(shownText, QString::fromLatin1(kLocateDatabaseText));
    QVERIFY(databaseNoticeShown());
    QVERIFY(makeCatalogue().empty());
    QCOMPARE(databaseSetting(env), fixed.toStdString());

    // The new path works; a file ending in part of a record is read with a warning, and not written to.
    QVERIFY(routineDatabase().add(makeRoutineForAdd("Zoom", "_Zoom\r\n_E", false)).ok());
    QFile file(fixed);
    QVERIFY(file.open(QIODevice::Append));
    file.write("partial");
    file.close();
    env.dialogs().clear();
    QVERIFY(loadCatalogue());
    QCOMPARE(makeCatalogue().size(), std::size_t{1});
    QCOMPARE(env.dialogs().messages().size(), 1);
    QCOMPARE(env.dialogs().messages()[0].title, std::string("Quorvel Warning"));
    QVERIFY(addRoutineToDatabase(makeRoutineForAdd("Regen", "_Regen", false)) == std::nullopt);
    QVERIFY(env.dialogs().messages().value(1).text.find("in routine Add_to_Database") != std::string::npos);
}

QTEST_MAIN(LocateDatabaseDialogTest)
#include "LocateDatabaseDialogTest.moc"
