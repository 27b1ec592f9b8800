#include "PageSetupAndSaveAsTabs.h"

#include "app/Program.h"
#include "builders/ImportPageSetupTab.h"
#include "builders/PageSetupPlotTab.h"
#include "builders/SaveAsTab.h"
#include "routines/RoutineEditor.h"

namespace qv {

namespace {

// The routine goes into the editor's text box and the save dialog names and stores it.
template <typename Tab> void attachToEditor(RoutineEditor& editor, int tabNumber, Tab* tab)
{
    editor.setTabPage(tabNumber, tab);
    QObject::connect(tab, &Tab::routineBuilt, &editor, [&editor](const QString& text) {
        editor.setScriptText(toStd(text));
        editor.openSaveDialog();
    });
    QObject::connect(tab, &Tab::backRequested, &editor, &RoutineEditor::returnToMain);
}

} // namespace

void addPageSetupAndSaveAsTabs(RoutineEditor& editor)
{
    auto* plot = new PageSetupPlotTab(&editor);
    attachToEditor(editor, RoutineEditor::TabPlotPage, plot);
    QObject::connect(&editor, &RoutineEditor::tabSelected, plot, [plot](int tab) {
        if (tab == RoutineEditor::TabPlotPage && !plot->isSetUp())
            plot->setUp();
    });

    auto* saveAs = new SaveAsTab(&editor);
    attachToEditor(editor, RoutineEditor::TabSaveAs, saveAs);
    QObject::connect(&editor, &RoutineEditor::tabSelected, saveAs, [saveAs](int tab) {
        if (tab == RoutineEditor::TabSaveAs && !saveAs->isSetUp())
            saveAs->setUp();
    });

    auto* import = new ImportPageSetupTab(&editor);
    attachToEditor(editor, RoutineEditor::TabImportPageSetup, import);
    QObject::connect(&editor, &RoutineEditor::tabSelected, import, [import](int tab) {
        if (tab == RoutineEditor::TabImportPageSetup)
            import->showCaption();
    });
}

} // namespace qv
