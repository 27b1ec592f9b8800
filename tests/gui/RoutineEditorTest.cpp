#include "routines/RoutineEditor.h"

#include "routines/RoutineStore.h"
#include "routines/SaveRoutineDialog.h"
#include "support/GuiTestSupport.h"
#include "text/TextUtil.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>

using namespace qv;
using namespace qv::test;

namespace {

std::int16_t seed(const std::string& description, const std::string& text, bool favourite = true)
{
    auto added = routineDatabase().add(makeRoutineForAdd(description, text, !favourite));
    return added ? added.value() : std::int16_t{0};
}

// The routine stored at a record, read back from the file; nullopt when the record is not live.
std::optional<Routine> stored(std::int16_t recordNumber)
{
    auto records = routineDatabase().readAll();
    if (!records)
        return std::nullopt;
    const Routine* routine = findRoutine(records.value().routines, recordNumber);
    return routine ? std::optional<Routine>(*routine) : std::nullopt;
}

void pick(QListWidget* list, const QString& text)
{
    const auto found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->setCurrentItem(found.first());
}

UserMessage lastMessage(GuiEnvironment& env)
{
    const auto messages = env.dialogs().messages();
    return messages.isEmpty() ? UserMessage{} : messages.last();
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
    RoutineEditor editor;
    editor.load();
    // The rules themselves are the catalogue's tests; here, for a field of each box: the message, the boxes kept,
    // the focus.
    const struct
    {
        std::string description;
        std::string script;
        std::string message;
        bool scriptBox; // the script box has the focus afterwards
    } cases[] = {
        {"   ", "_Zoom", kMsgEnterDescription, false},
        {"New", "  ", kMsgEnterScript, true},
    };
    for (const auto& c : cases) {
        editor.m_descriptionEdit->setText(QString::fromStdString(c.description));
        editor.setScriptText(c.script);
        editor.m_addButton->click();
        QCOMPARE(lastMessage(env).text, c.message);
        QVERIFY(!stored(1));
        QCOMPARE(editor.m_descriptionEdit->text(), QString::fromStdString(c.description));
        QCOMPARE(editor.scriptText(), c.script);
        if (c.scriptBox)
            QCOMPARE(editor.m_scriptEdit->textCursor().selectedText().size(), QString::fromStdString(c.script).size());
        else
            QCOMPARE(editor.m_descriptionEdit->selectedText(), editor.m_descriptionEdit->text());
    }

    // Line breaks, a blank answer line, trailing spaces and a non-breaking space all reach the file.
    const std::string script = "_-plot\r\n_Y\r\n\r\nA3\xC2\xA0paper  \r\n";
    editor.m_descriptionEdit->setText(QStringLiteral("Plot A3"));
    editor.setScriptText(script);
    programState().routineIsNonFavourite = true;
    editor.m_addButton->click();
    const auto routine = stored(1);
    QVERIFY(routine);
    QCOMPARE(stripEndMarker(routine->scriptText()), script);
    QVERIFY(editor.m_descriptionEdit->text().isEmpty());
    QCOMPARE(itemTexts(editor.m_nonFavouritesList), QStringList{QStringLiteral("Plot A3")});
    pick(editor.m_nonFavouritesList, QStringLiteral("Plot A3"));
    QCOMPARE(editor.scriptText(), script);
}

void RoutineEditorTest::updateTransferAndDelete()
{
    GuiEnvironment env;
    const std::int16_t a = seed("A", "_Zoom\r\n_E");
    seed("B", "_Regen");
    const std::int16_t c = seed("C", "_Purge", false);
    RoutineEditor editor;
    editor.load();
    QVERIFY(!editor.m_updateButton->isEnabled());

    pick(editor.m_favouritesList, QStringLiteral("A"));
    QCOMPARE(editor.m_descriptionEdit->text(), QStringLiteral("A"));
    QCOMPARE(editor.scriptText(), std::string("_Zoom\r\n_E"));
    QVERIFY(editor.m_updateButton->isEnabled() && editor.m_toNonFavouritesButton->isEnabled() &&
            !editor.m_toFavouritesButton->isEnabled());

    // Another routine's name is refused; the record stays as it was.
    editor.m_descriptionEdit->setText(QStringLiteral("B"));
    editor.m_updateButton->click();
    QCOMPARE(lastMessage(env).text, std::string(kMsgDuplicateDescription));
    QCOMPARE(stored(a)->description().substr(0, 2), std::string("A "));

    editor.m_descriptionEdit->setText(QStringLiteral("A2"));
    editor.setScriptText("_Zoom\r\n_W");
    editor.m_updateButton->click();
    QCOMPARE(std::string(trimSpaces(stored(a)->description())), std::string("A2"));
    QCOMPARE(stripEndMarker(stored(a)->scriptText()), std::string("_Zoom\r\n_W"));
    QVERIFY(!editor.m_updateButton->isEnabled() && !editor.m_deleteButton->isEnabled());

    // Transfer rewrites the same record with the other marker.
    pick(editor.m_favouritesList, QStringLiteral("A2"));
    editor.m_toNonFavouritesButton->click();
    QVERIFY(!isFavourite(*stored(a)));
    QCOMPARE(itemTexts(editor.m_nonFavouritesList), (QStringList{QStringLiteral("A2"), QStringLiteral("C")}));
    pick(editor.m_nonFavouritesList, QStringLiteral("C"));
    editor.m_toFavouritesButton->click();
    QVERIFY(isFavourite(*stored(c)));
    QCOMPARE(itemTexts(editor.m_favouritesList), (QStringList{QStringLiteral("B"), QStringLiteral("C")}));

    // Delete asks first; Cancel keeps the routine. A pick in one list drops the other list's pick.
    pick(editor.m_favouritesList, QStringLiteral("C"));
    pick(editor.m_nonFavouritesList, QStringLiteral("A2"));
    pick(editor.m_favouritesList, QStringLiteral("C"));
    QCOMPARE(editor.m_descriptionEdit->text(), QStringLiteral("C"));
    env.dialogs().queueAnswer(MessageAnswer::Cancel);
    editor.m_deleteButton->click();
    QCOMPARE(lastMessage(env), (UserMessage{"Are you sure you want to delete the selected Routine", "Confirm Delete",
                                            MessageIcon::None, MessageButtons::OkCancel}));
    QVERIFY(stored(c));

    QSignalSpy changed(&editor, &RoutineEditor::routineAddedOrDeleted);
    env.dialogs().queueAnswer(MessageAnswer::Ok);
    editor.m_deleteButton->click();
    QVERIFY(!stored(c));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(editor.m_routinesGroup->title(), QStringLiteral("2 Script Routines"));
    QVERIFY(!editor.m_deleteButton->isEnabled());
}

void RoutineEditorTest::saveDialogReplacesTheRecordChosenInIt()
{
    GuiEnvironment env;
    const std::int16_t a = seed("A", "_Zoom");
    const std::int16_t b = seed("B", "_Regen");
    RoutineEditor editor;
    editor.load();
    pick(editor.m_favouritesList, QStringLiteral("A")); // a pick on the Macro tab first
    editor.setScriptText("_Purge\r\n_All");

    bool ran = false;
    whenModalOpens<SaveRoutineDialog>(&editor, [&](SaveRoutineDialog* dialog) {
        ran = true;
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Save Routine As:"));
        QVERIFY(dialog->m_favouriteCheck->isChecked());
        QCOMPARE(itemTexts(dialog->m_routineList), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));

        dialog->m_nameEdit->setText(QStringLiteral("  "));
        dialog->m_saveButton->click();
        QCOMPARE(lastMessage(env).text, std::string(kMsgEnterRoutineName));

        // No keeps the dialog open; Yes replaces.
        dialog->m_nameEdit->setText(QStringLiteral(" B "));
        env.dialogs().queueAnswer(MessageAnswer::No);
        dialog->m_saveButton->click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->m_routineList->currentItem()->text(), QStringLiteral("B"));
        // The question's wording is the catalogue's test.
        QVERIFY(lastMessage(env).text.starts_with("B\r\n\r\nThis Routine Already Exists\t"));
        dialog->m_favouriteCheck->setChecked(false);
        env.dialogs().queueAnswer(MessageAnswer::Yes);
        dialog->m_saveButton->click();
    });
    editor.openSaveDialog();
    QVERIFY(ran);
    QCOMPARE(stripEndMarker(stored(b)->scriptText()), std::string("_Purge\r\n_All"));
    QVERIFY(!isFavourite(*stored(b)));
    QCOMPARE(stripEndMarker(stored(a)->scriptText()), std::string("_Zoom"));

    // Cancel stores nothing and gives the lists back. (A new name is added: the builder end-to-end test.)
    whenModalOpens<SaveRoutineDialog>(&editor, [](SaveRoutineDialog* dialog) { dialog->m_cancelButton->click(); });
    editor.openSaveDialog();
    QCOMPARE(itemTexts(editor.m_favouritesList), QStringList{QStringLiteral("A")});
    QVERIFY(!stored(3));
}

void RoutineEditorTest::opensOnTheRequestedTabAndClosesToMain()
{
    GuiEnvironment env;
    RoutineEditor editor;
    // Macro and every builder are offered.
    for (int i = 0; i < 6; ++i)
        QVERIFY(editor.m_tabs->isTabEnabled(i));

    // Once a builder is in, its tab opens when requested; tabs 2, 3 and 6 check the release first.
    useProduct("Cad2018");
    editor.setTabPage(RoutineEditor::TabPlotPage, new QWidget);
    QSignalSpy selected(&editor, &RoutineEditor::tabSelected);
    programState().editorTab = 5;
    editor.load();
    QCOMPARE(editor.m_tabs->currentIndex(), 4);
    QCOMPARE(selected.count(), 1);
    QVERIFY(programState().release2004OrLater);
    editor.m_tabs->setTabEnabled(3, false);
    programState().editorTab = 4; // not offered: Macro shows
    editor.load();
    editor.m_tabs->setTabEnabled(3, true);
    QCOMPARE(editor.m_tabs->currentIndex(), 0);
    useProduct("Bricscad");
    editor.selectTab(RoutineEditor::TabPlotPage);
    QCOMPARE(env.dialogs().messages().size(), 1);
    QCOMPARE(lastMessage(env),
             (UserMessage{"This wizard creates a routine only used in Rel 2000 to 2014 and LT2000 to LT2014",
                          "Wizard Information", MessageIcon::Exclamation}));
    QVERIFY(programState().release2004OrLater);
    useProduct("CadLT2000");
    editor.selectTab(RoutineEditor::TabPurge);
    editor.selectTab(RoutineEditor::TabPlotPage);
    QVERIFY(!programState().release2004OrLater);
    QCOMPARE(env.dialogs().messages().size(), 1);

    editor.show();
    QSignalSpy closed(&editor, &RoutineEditor::closedToMain);
    editor.m_backButton->click();
    QCOMPARE(closed.count(), 1);
    QCOMPARE(programState().editorTab, std::int16_t{30});
    QVERIFY(!editor.isVisible());
}

QTEST_MAIN(RoutineEditorTest)
#include "RoutineEditorTest.moc"
