#include "config/SettingsKeys.h"
#include "routines/FrmScript.h"
#include "routines/RoutineStore.h"
#include "routines/frmSaveRoutine.h"
#include "support/GuiTestSupport.h"
#include "text/TextUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>
#include <functional>

using namespace qv;
using namespace qv::test;

namespace {

std::int16_t Seed(const std::string& description, const std::string& text, bool favourite = true)
{
    auto added = RoutineDatabase().Add_to_Database(MakeRoutineForAdd(description, text, !favourite));
    return added ? added.value() : std::int16_t{0};
}

// The routine stored at a record, read back from the file; nullopt when the record is not live.
std::optional<clsRoutine> Stored(std::int16_t recordNumber)
{
    auto records = RoutineDatabase().GetAllRecords();
    if (!records)
        return std::nullopt;
    const clsRoutine* routine = FindRoutine(records.value().routines, recordNumber);
    return routine ? std::optional<clsRoutine>(*routine) : std::nullopt;
}

QStringList Entries(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

void Pick(QListWidget* list, const QString& text)
{
    const auto found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->setCurrentItem(found.first());
}

UserMessage LastMessage(GuiEnvironment& env)
{
    const auto messages = env.dialogs().messages();
    return messages.isEmpty() ? UserMessage{} : messages.last();
}

// Runs with the save dialog once it is open over the editor.
void OnSaveDialog(FrmScript& editor, std::function<void(frmSaveRoutine*)> act)
{
    QTimer::singleShot(0, &editor, [act] {
        auto* dialog = qobject_cast<frmSaveRoutine*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(dialog);
    });
}

} // namespace

class RoutineEditorTest final : public QObject
{
    Q_OBJECT

private slots:
    void addRefusesBadInputThenStoresTheScriptByteExact();
    void updateTransferAndDelete();
    void saveDialogReplacesTheRecordChosenInIt();
    void opensOnTheRequestedTabAndClosesToMain();
};

void RoutineEditorTest::addRefusesBadInputThenStoresTheScriptByteExact()
{
    GuiEnvironment env;
    Seed("Existing", "_Zoom");
    FrmScript editor;
    editor.Form_Load();
    // The rules themselves are the catalogue's tests; here: the message, the boxes kept, the focus.
    const struct
    {
        std::string description;
        std::string script;
        std::string message;
        bool scriptBox; // the script box has the focus afterwards
    } cases[] = {
        {"   ", "_Zoom", kMsgEnterDescription, false},
        {"New", "  ", kMsgEnterScript, true},
        {" Existing ", "_Zoom", kMsgDuplicateDescription, false},
    };
    for (const auto& c : cases) {
        editor.txtDescription->setText(QString::fromStdString(c.description));
        editor.setScriptText(c.script);
        editor.cmdAddAction->click();
        QCOMPARE(LastMessage(env).text, c.message);
        QVERIFY(!Stored(2));
        QCOMPARE(editor.txtDescription->text(), QString::fromStdString(c.description));
        QCOMPARE(editor.scriptText(), c.script);
        if (c.scriptBox)
            QCOMPARE(editor.txtAction->textCursor().selectedText().size(), QString::fromStdString(c.script).size());
        else
            QCOMPARE(editor.txtDescription->selectedText(), editor.txtDescription->text());
    }

    // Line breaks, a blank answer line, trailing spaces and a non-breaking space all reach the file.
    const std::string script = "_-plot\r\n_Y\r\n\r\nA3\xC2\xA0paper  \r\n";
    editor.txtDescription->setText(QStringLiteral("Plot A3"));
    editor.setScriptText(script);
    Program().NonFavourite = true;
    editor.cmdAddAction->click();
    const auto routine = Stored(2);
    QVERIFY(routine);
    QCOMPARE(StripEndMarker(routine->ScriptText()), script);
    QVERIFY(editor.txtDescription->text().isEmpty());
    QCOMPARE(Entries(editor.lstActionDesNon), QStringList{QStringLiteral("Plot A3")});
    Pick(editor.lstActionDesNon, QStringLiteral("Plot A3"));
    QCOMPARE(editor.scriptText(), script);
}

void RoutineEditorTest::updateTransferAndDelete()
{
    GuiEnvironment env;
    const std::int16_t a = Seed("A", "_Zoom\r\n_E");
    Seed("B", "_Regen");
    const std::int16_t c = Seed("C", "_Purge", false);
    FrmScript editor;
    editor.Form_Load();
    QVERIFY(!editor.cmdUpdate->isEnabled());

    Pick(editor.lstActionDesFav, QStringLiteral("A"));
    QCOMPARE(editor.txtDescription->text(), QStringLiteral("A"));
    QCOMPARE(editor.scriptText(), std::string("_Zoom\r\n_E"));
    QVERIFY(editor.cmdUpdate->isEnabled() && editor.cmdToNon->isEnabled() && !editor.cmdToFav->isEnabled());

    // Another routine's name is refused; the record stays as it was.
    editor.txtDescription->setText(QStringLiteral("B"));
    editor.cmdUpdate->click();
    QCOMPARE(LastMessage(env).text, std::string(kMsgDuplicateDescription));
    QCOMPARE(Stored(a)->Description().substr(0, 2), std::string("A "));

    editor.txtDescription->setText(QStringLiteral("A2"));
    editor.setScriptText("_Zoom\r\n_W");
    editor.cmdUpdate->click();
    QCOMPARE(std::string(TrimSpaces(Stored(a)->Description())), std::string("A2"));
    QCOMPARE(StripEndMarker(Stored(a)->ScriptText()), std::string("_Zoom\r\n_W"));
    QVERIFY(!editor.cmdUpdate->isEnabled() && !editor.cmdDelete->isEnabled());

    // Transfer rewrites the same record with the other marker.
    Pick(editor.lstActionDesFav, QStringLiteral("A2"));
    editor.cmdToNon->click();
    QVERIFY(!IsFavourite(*Stored(a)));
    QCOMPARE(Entries(editor.lstActionDesNon), (QStringList{QStringLiteral("A2"), QStringLiteral("C")}));
    Pick(editor.lstActionDesNon, QStringLiteral("C"));
    editor.cmdToFav->click();
    QVERIFY(IsFavourite(*Stored(c)));
    QCOMPARE(Entries(editor.lstActionDesFav), (QStringList{QStringLiteral("B"), QStringLiteral("C")}));

    // Delete asks first; Cancel keeps the routine. A pick in one list drops the other list's pick.
    Pick(editor.lstActionDesFav, QStringLiteral("C"));
    Pick(editor.lstActionDesNon, QStringLiteral("A2"));
    Pick(editor.lstActionDesFav, QStringLiteral("C"));
    QCOMPARE(editor.txtDescription->text(), QStringLiteral("C"));
    env.dialogs().queueAnswer(MessageAnswer::Cancel);
    editor.cmdDelete->click();
    QCOMPARE(LastMessage(env), (UserMessage{"Are you sure you want to delete the selected Routine", "Confirm Delete",
                                            MessageIcon::None, MessageButtons::OkCancel}));
    QVERIFY(Stored(c));

    QSignalSpy changed(&editor, &FrmScript::routineAddedOrDeleted);
    env.dialogs().queueAnswer(MessageAnswer::Ok);
    editor.cmdDelete->click();
    QVERIFY(!Stored(c));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(editor.fraList->title(), QStringLiteral("2 Script Routines"));
    QVERIFY(!editor.cmdDelete->isEnabled());
}

void RoutineEditorTest::saveDialogReplacesTheRecordChosenInIt()
{
    GuiEnvironment env;
    const std::int16_t a = Seed("A", "_Zoom");
    const std::int16_t b = Seed("B", "_Regen");
    FrmScript editor;
    editor.Form_Load();
    Pick(editor.lstActionDesFav, QStringLiteral("A")); // a pick on the Macro tab first
    editor.setScriptText("_Purge\r\n_All");

    bool ran = false;
    OnSaveDialog(editor, [&](frmSaveRoutine* dialog) {
        ran = true;
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Save Routine As:"));
        QVERIFY(dialog->chkFavorites->isChecked());
        QCOMPARE(Entries(dialog->lstSaveList), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));

        dialog->txtRoutineName->setText(QStringLiteral("  "));
        dialog->cmdSavePlot->click();
        QCOMPARE(LastMessage(env).text, std::string(kMsgEnterRoutineName));

        // No keeps the dialog open; Yes replaces.
        dialog->txtRoutineName->setText(QStringLiteral(" B "));
        env.dialogs().queueAnswer(MessageAnswer::No);
        dialog->cmdSavePlot->click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->lstSaveList->currentItem()->text(), QStringLiteral("B"));
        QCOMPARE(LastMessage(env), (UserMessage{"B\r\n\r\nThis Routine Already Exists\t\r\n\r\nDo you want to replace "
                                                "the Existing Routine?\r\n\r\n",
                                                "Save Routine As:", MessageIcon::None, MessageButtons::YesNo}));
        dialog->chkFavorites->setChecked(false);
        env.dialogs().queueAnswer(MessageAnswer::Yes);
        dialog->cmdSavePlot->click();
    });
    editor.OpenSaveDialog();
    QVERIFY(ran);
    QCOMPARE(StripEndMarker(Stored(b)->ScriptText()), std::string("_Purge\r\n_All"));
    QVERIFY(!IsFavourite(*Stored(b)));
    QCOMPARE(StripEndMarker(Stored(a)->ScriptText()), std::string("_Zoom"));

    // Cancel stores nothing and gives the lists back. (A new name is added: the purge end-to-end test.)
    OnSaveDialog(editor, [](frmSaveRoutine* dialog) { dialog->cmdCancel->click(); });
    editor.OpenSaveDialog();
    QCOMPARE(Entries(editor.lstActionDesFav), QStringList{QStringLiteral("A")});
    QVERIFY(!Stored(3));
}

void RoutineEditorTest::opensOnTheRequestedTabAndClosesToMain()
{
    GuiEnvironment env;
    FrmScript editor;
    // Macro and every builder are offered.
    for (int i = 0; i < 6; ++i)
        QVERIFY(editor.TabScriptRoutine->isTabEnabled(i));

    // Once a builder is in, its tab opens when requested; tabs 2, 3 and 6 check the release first.
    QVERIFY(Program().ini.WriteValue(keys::kCadVerSection, keys::kCadVerKey, "Cad2018").ok());
    editor.setTabPage(FrmScript::TabPlotPage, new QWidget);
    QSignalSpy selected(&editor, &FrmScript::tabSelected);
    Program().editorTab = 5;
    editor.Form_Load();
    QCOMPARE(editor.TabScriptRoutine->currentIndex(), 4);
    QCOMPARE(selected.count(), 1);
    QVERIFY(Program().Release2004OrLater);
    editor.TabScriptRoutine->setTabEnabled(3, false);
    Program().editorTab = 4; // not offered: Macro shows
    editor.Form_Load();
    editor.TabScriptRoutine->setTabEnabled(3, true);
    QCOMPARE(editor.TabScriptRoutine->currentIndex(), 0);
    QVERIFY(Program().ini.WriteValue(keys::kCadVerSection, keys::kCadVerKey, "Bricscad").ok());
    editor.selectTab(FrmScript::TabPlotPage);
    QCOMPARE(env.dialogs().messages().size(), 1);
    QCOMPARE(LastMessage(env),
             (UserMessage{"This wizard creates a routine only used in Rel 2000 to 2014 and LT2000 to LT2014",
                          "Wizard Information", MessageIcon::Exclamation}));
    QVERIFY(Program().Release2004OrLater);
    QVERIFY(Program().ini.WriteValue(keys::kCadVerSection, keys::kCadVerKey, "CadLT2000").ok());
    editor.selectTab(FrmScript::TabPurge);
    editor.selectTab(FrmScript::TabPlotPage);
    QVERIFY(!Program().Release2004OrLater);
    QCOMPARE(env.dialogs().messages().size(), 1);

    editor.show();
    QSignalSpy closed(&editor, &FrmScript::closedToMain);
    editor.cmdExit->click();
    QCOMPARE(closed.count(), 1);
    QCOMPARE(Program().editorTab, std::int16_t{30});
    QVERIFY(!editor.isVisible());
}

QTEST_MAIN(RoutineEditorTest)
#include "RoutineEditorTest.moc"
