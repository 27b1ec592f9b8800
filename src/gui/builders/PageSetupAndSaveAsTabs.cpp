#include "PageSetupAndSaveAsTabs.h"

#include "app/Program.h"
#include "builders/ImportPageSetupTab.h"
#include "builders/PageSetupPlotTab.h"
#include "builders/SaveAsTab.h"
#include "routines/FrmScript.h"

namespace qv {

namespace {

// The routine goes into the editor's text box and the save dialog names and stores it.
template <typename Tab> void Attach(FrmScript& editor, int tabNumber, Tab* tab)
{
    editor.setTabPage(tabNumber, tab);
    QObject::connect(tab, &Tab::routineBuilt, &editor, [&editor](const QString& text) {
        editor.setScriptText(ToStd(text));
        editor.OpenSaveDialog();
    });
    QObject::connect(tab, &Tab::backRequested, &editor, &FrmScript::cmdExit_Click);
}

} // namespace

void AddPageSetupAndSaveAsTabs(FrmScript& editor)
{
    auto* plot = new PageSetupPlotTab(&editor);
    Attach(editor, FrmScript::TabPlotPage, plot);
    QObject::connect(&editor, &FrmScript::tabSelected, plot, [plot](int tab) {
        if (tab == FrmScript::TabPlotPage && !plot->isSetUp())
            plot->SetupPageSetupTab();
    });

    auto* saveAs = new SaveAsTab(&editor);
    Attach(editor, FrmScript::TabSaveAs, saveAs);
    QObject::connect(&editor, &FrmScript::tabSelected, saveAs, [saveAs](int tab) {
        if (tab == FrmScript::TabSaveAs && !saveAs->isSetUp())
            saveAs->SetupSaveAsTab();
    });

    auto* import = new ImportPageSetupTab(&editor);
    Attach(editor, FrmScript::TabImportPageSetup, import);
    QObject::connect(&editor, &FrmScript::tabSelected, import, [import](int tab) {
        if (tab == FrmScript::TabImportPageSetup)
            import->ShowCaption();
    });
}

} // namespace qv
