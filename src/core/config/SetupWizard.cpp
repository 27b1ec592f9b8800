#include "SetupWizard.h"

#include "config/DataFiles.h"
#include "config/Settings.h"
#include "config/SettingsKeys.h"
#include "io/FileIo.h"
#include "text/CodePage.h"
#include "text/LineBreaks.h"
#include "text/Paths.h"
#include "text/TextUtil.h"

#include <cstdio>

namespace qv {
namespace {

const std::string kBr(kCrLf);

// Byte offset of the character (code point) at `index` of UTF-8 text; the size when it runs past the end.
std::size_t characterOffset(std::string_view text, std::size_t index)
{
    std::size_t offset = 0;
    for (std::size_t seen = 0; offset < text.size(); ++offset) {
        if ((static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80)
            continue; // a continuation byte belongs to the character before it
        if (seen++ == index)
            return offset;
    }
    return text.size();
}

} // namespace

Status markSetupDone(const SettingsFile& ini)
{
    return ini.writeValue(keys::kStartupSection, keys::kSetupKey, "YES");
}

std::string shortenPath(std::string_view text)
{
    const std::size_t length = utf8Length(text);
    if (length < 60)
        return std::string(text);
    // The first 30 characters, then from character length - 45 (counted from 1) to the end.
    const std::size_t head = characterOffset(text, 30);
    const std::size_t tail = characterOffset(text, length - 46);
    return std::string(text.substr(0, head)) + "........." + std::string(text.substr(tail));
}

DatabaseLocation locateRoutineDatabase(const SettingsFile& ini, const std::string& defaultFolder)
{
    const std::string stored = readDatabasePath(ini);
    // The database itself takes an empty value for the default as well; record what it then uses.
    if (stored != kUnknown && !stored.empty())
        return {stored, {}};
    std::string path = joinPath(defaultFolder, kDatabaseFileName);
    Status written = ini.writeValue(keys::kDatabaseSection, keys::kDatabaseKey, path);
    return {std::move(path), std::move(written)};
}

UserMessage readWriteFolderMessage()
{
    return {"Quorvel requires access to a folder which you have" + kBr + "Read/Write access too." + kBr + kBr +
                "Press OK to proceed and select a Read/Write access folder",
            "Locate Read/Write Folder ", MessageIcon::Exclamation, MessageButtons::Ok};
}

std::optional<UserMessage> testWriteFolder(const std::string& folder, const WriteProbe& probe)
{
    if (trimSpaces(folder).empty())
        return readWriteFolderMessage();
    const std::string path = joinPath(folder, kScriptFileName);
    // A script that a running host holds must stay whole: ask before opening it for writing.
    if (probe(path) != 0)
        return readWriteFolderMessage();
    std::FILE* file = openFile(path, "wb");
    if (!file)
        return readWriteFolderMessage();
    const std::string line = "Test" + kBr;
    const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size();
    const bool flushed = std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    if (!written || !flushed || !closed)
        return readWriteFolderMessage();
    return std::nullopt;
}

Status recordProductChoice(SettingsFile& ini, const CadProduct& product)
{
    if (product.code.empty() || toUpperAscii(product.code) == "FALSE")
        return {};
    ini.setSection(keys::kCadVerSection);
    ini.setKey(keys::kCadVerKey);
    ini.setValue(std::string(product.code));
    if (Status written = ini.writeCurrent(); !written)
        return written;
    if (!isOldRelease(product.code))
        return {};
    // Only the section and the value change: the entry goes under the key last set.
    ini.setSection(keys::kStartEndSection);
    ini.setValue("Off");
    return ini.writeCurrent();
}

std::string productSelectedText(const CadProduct& product)
{
    return "AutoCAD Version " + std::string(product.selectionLabel) + " Selected";
}

namespace setup_text {

std::string databaseLocated(std::string_view path)
{
    return "Routine Database Batch_CAD.Dat located at" + kBr + shortenPath(path);
}

std::string scriptLocated(std::string_view folder)
{
    return "Routine Script File Batch.Scr located at" + kBr + shortenPath(joinPath(folder, kScriptFileName));
}

std::string executableLocated(std::string_view path)
{
    return "AutoCAD Executable Located at" + kBr + shortenPath(path);
}

std::string plotterConfigLocated(std::string_view folder)
{
    return "Plotter configuration File Located at" + kBr + shortenPath(folder);
}

std::string plotStyleLocated(std::string_view folder)
{
    return "Plot Style File Located at" + kBr + shortenPath(folder);
}

std::string wizardOpening()
{
    return kBr + "Quorvel will now locate files needed for operation." + kBr + "Click Start to continue";
}

std::string wizardComplete()
{
    return "Quorvel setup is now complete. If you wish to alter these locations at" + kBr +
           "a later date you may do so under the Options drop down menu in Quorvel" + kBr + kBr +
           "Click Finish to continue." + kBr;
}

std::string plotFilesOpening()
{
    return "Quorvel will now locate Plotter configuration files used by the plot creation wizard" + kBr + kBr +
           "Click Next to start";
}

UserMessage plotFilesQuestion()
{
    return {"In AutoCAD and AutoCAD LT the Plot Style files (.ctb, .stb)" + kBr +
                "and the plotter configuration files (.pc3) are located under user settings." + kBr + kBr +
                "In Quorvel the plot creation wizard can list these files in the drop down lists," +
                "therefore making it easier to create your plot routines. You can locate these files " +
                "now so they are available in the drop down list or later under the options menu " + "in Quorvel" +
                kBr + kBr + "Click Yes to locate these files now or No to select them later:" + kBr,
            "Locate Plotter Configuration Files", MessageIcon::Question, MessageButtons::YesNo};
}

UserMessage cancelQuestion()
{
    return {"The setup process is not complete. If you quit now, Quorvel" + kBr +
                "will not be properly installed. Are you sure that you want to quit" + kBr,
            "Installation", MessageIcon::Question, MessageButtons::YesNo};
}

} // namespace setup_text

std::string searchFileName(LocateMode mode, std::string_view executableName)
{
    switch (mode) {
    case LocateMode::PC3:
        return std::string(kPc3SearchFile);
    case LocateMode::CTB:
        return std::string(kCtbSearchFile);
    case LocateMode::ACADEXE:
        break;
    }
    return std::string(executableName);
}

LocateTexts locateTextsFor(LocateMode mode, std::string_view executableName)
{
    const std::string name(executableName);
    const std::string browse = "If not please locate the correct folder using the Browse button" + kBr + kBr;
    const std::string stored = "This is the location in your current Quorvel settings." + kBr +
                               "If it is still correct click Next to keep it." + kBr + kBr + browse;
    switch (mode) {
    case LocateMode::PC3:
        return {"Searching for Plot Setup ...............",
                "PC3 Location",
                "Locate PC3 File",
                "Locate Plotter Configuration File",
                "Please locate your current AutoCAD Plotter Configuration file .Pc3" + kBr +
                    "Quorvel uses these files during operation.",
                "Quorvel installation has located the AutoCAD Plotter Configuration file" + kBr +
                    "If this is the correct location click the Next button." + kBr + kBr + browse,
                stored};
    case LocateMode::CTB:
        return {"Searching for Plot Style ...............",
                "Plot Style Location",
                "Locate .ctb or .stb File",
                "Locate Plot Style File",
                "Please locate your current AutoCAD Plot style file ctb, stb" + kBr +
                    "Quorvel uses these files during operation.",
                "Quorvel installation has located the AutoCAD Plot style file" + kBr +
                    "If this is the correct location click the Next button." + kBr + kBr + browse,
                stored};
    case LocateMode::ACADEXE:
        break;
    }
    return {"Searching for " + name + "...............",
            name + " Location",
            {},
            {},
            "Please locate your current AutoCAD Executable file (" + name + ")" + kBr +
                "Quorvel uses this file during operation." + kBr + kBr +
                "For example C:\\Program Files\\Autodesk\\AutoCAD 2018\\" + kBr + kBr,
            "Quorvel installation has located the executable file (" + name + ")" + kBr +
                "If this is the correct location click Next to proceed." + kBr + kBr + browse,
            stored};
}

StoredSetup readStoredSetup(const SettingsFile& ini)
{
    // "Unknown" is how the settings file says "not set"; an empty value is not a usable place either.
    const auto usable = [](std::string value) { return value == kUnknown ? std::string() : std::move(value); };
    StoredSetup stored;
    const CadProduct* product = findProduct(ini.readValue(keys::kCadVerSection, keys::kCadVerKey));
    if (product && product->family != ProductFamily::Placeholder)
        stored.product = product;
    stored.scriptFolder = usable(ini.readValue(keys::kBatchSection, keys::kBatchKey));
    stored.executable = usable(readCadExecutable(ini));
    stored.plotterConfigFolder = usable(readPlotterConfigFolder(ini));
    stored.plotStyleFolder = usable(readPlotStyleFolder(ini));
    return stored;
}

std::string storedLocation(const StoredSetup& stored, LocateMode mode)
{
    switch (mode) {
    case LocateMode::PC3:
        return stored.plotterConfigFolder;
    case LocateMode::CTB:
        return stored.plotStyleFolder;
    case LocateMode::ACADEXE:
        break;
    }
    return stored.executable;
}

std::string locatedAddress(LocateMode mode, const std::string& hitPath)
{
    if (hitPath.empty() || mode == LocateMode::ACADEXE)
        return hitPath;
    return splitAtLastSeparator(hitPath).first + pathSeparator();
}

std::string executableFilter(std::string_view executableName)
{
    const std::string upper = toUpperAscii(executableName);
    if (upper == "ACAD.EXE")
        return "AutoCAD Full (Acad.exe)|Acad.exe|AutoCAD LT File (Aclt.exe)|Aclt.exe|All Files (*.*)|*.*";
    if (upper == "ACLT.EXE")
        return "AutoCAD LT (Aclt.exe)|Aclt.exe|AutoCAD Full (Acad.exe)|Acad.exe|All Files (*.*)|*.*";
    if (upper == "ACADLT.EXE")
        return "AutoCAD LT (Acadlt.exe)|Acadlt.exe|AutoCAD Full (Acad.exe)|Acad.exe|All Files (*.*)|*.*";
    // Another product's executable (ZWCAD.exe, or none known): its own name first when there is one.
    if (executableName.empty())
        return "Exe Files (*.exe)|*.exe|All Files (*.*)|*.*";
    const std::string name(executableName);
    return "CAD Program (" + name + ")|" + name + "|Exe Files (*.exe)|*.exe|All Files (*.*)|*.*";
}

UserMessage emptyAddressMessage()
{
    return {"Please Enter The Address for the AutoCAD Executable file.", "Error", MessageIcon::Exclamation,
            MessageButtons::Ok};
}

Result<std::string> saveLocation(const SettingsFile& ini, LocateMode mode, const std::string& address)
{
    if (mode == LocateMode::ACADEXE) {
        if (Status written = ini.writeValue(keys::kAcadSection, keys::kAcadKey, address); !written)
            return written.error();
        return address;
    }
    // The folder with exactly one trailing separator.
    std::string_view folder = address;
    while (!folder.empty() && isPathSeparator(folder.back()))
        folder.remove_suffix(1);
    std::string value = std::string(folder) + pathSeparator();
    const char* key = mode == LocateMode::PC3 ? keys::kPc3Key : keys::kStyleKey;
    if (Status written = ini.writeValue(keys::kPlotWizardSection, key, value); !written)
        return written.error();
    return value;
}

} // namespace qv
