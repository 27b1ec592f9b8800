#include "PlotSettings.h"

#include "app/Program.h"
#include "app/UserDialogs.h"
#include "builders/PlotDevices.h"
#include "config/Settings.h"
#include "config/SettingsFile.h"
#include "config/SettingsKeys.h"

#include <QLineEdit>

namespace qv {

namespace {

bool pickFolderOfFile(UserDialogs& dialogs, QLineEdit* box, const QString& title, const QString& filter)
{
    const QStringList chosen = dialogs.openFileNames(title, filter, QString(), false);
    if (chosen.isEmpty())
        return false;
    box->setText(toQString(folderOfChosenFile(toStd(chosen.front()))));
    return true;
}

} // namespace

void loadPlotLocations(const SettingsFile& ini, QLineEdit* plotterFolderEdit, QLineEdit* plotStyleFolderEdit)
{
    plotterFolderEdit->setText(toQString(plotLocationShown(readPlotterConfigFolder(ini))));
    plotStyleFolderEdit->setText(toQString(plotLocationShown(readPlotStyleFolder(ini))));
}

Status savePlotLocations(const SettingsFile& ini, const QLineEdit* plotterFolderEdit,
                         const QLineEdit* plotStyleFolderEdit)
{
    const std::pair<const QLineEdit*, const char*> boxes[] = {{plotterFolderEdit, keys::kPc3Key},
                                                              {plotStyleFolderEdit, keys::kStyleKey}};
    for (const auto& [box, key] : boxes) {
        const std::string text = toStd(box->text());
        if (!isPlotLocationToSave(text))
            continue;
        if (Status written = ini.writeValue(keys::kPlotWizardSection, key, text); !written.ok())
            return written;
    }
    return {};
}

bool pickPlotterFolder(UserDialogs& dialogs, QLineEdit* plotterFolderEdit)
{
    return pickFolderOfFile(dialogs, plotterFolderEdit, QStringLiteral("Select a PC3 file to locate directory"),
                            QStringLiteral("PC3 Files (*.pc3)|*.pc3|All Files (*.*)|*.*"));
}

bool pickPlotStyleFolder(UserDialogs& dialogs, QLineEdit* plotStyleFolderEdit)
{
    return pickFolderOfFile(dialogs, plotStyleFolderEdit,
                            QStringLiteral("Select a CTB or STB file to locate directory"),
                            QStringLiteral("CTB & STB Files (*.ctb *.stb)|*.?tb|All Files (*.*)|*.*"));
}

void showPlotLocationsHelp(UserDialogs& dialogs)
{
    static constexpr const char* kLines[] = {
        "To Locate Files:",
        "",
        "Start AutoCAD",
        "On the Tools menu, click Options.",
        "In the Options dialog box, click the Files tab.",
        "On the Files tab, click the plus sign (+) to the left of the Printer Support File Path folder.",
        "",
        "For Plot Style Location:",
        "In the Printer Support File Path folder, click the plus sign (+) to the left of the Plot Style Table "
        "Search Path file.",
        "Under Plot Style Table Search Path, click the path name to view the location of your plot styles files.",
        "For example: C:\\Users\\User\\AppData\\Roaming\\Autodesk\\AutoCAD 2025\\R25.0\\enu\\Plotters\\Plot Styles",
        "",
        "For Printer PC3 file Location:",
        "Click the plus sign (+) to the left of the Printer Configuration Search Path file.",
        "Under Printer Configuration Search Path, click the path name to view the location of your plotters files.",
        "For example: C:\\Users\\User\\AppData\\Roaming\\Autodesk\\AutoCAD 2025\\R25.0\\enu\\Plotters",
        "",
    };
    std::string text;
    for (const char* line : kLines)
        text.append(line).append("\n");
    dialogs.show(text, "Plot File Locations", MessageIcon::Information);
}

} // namespace qv
