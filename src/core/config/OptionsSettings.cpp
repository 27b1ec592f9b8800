#include "OptionsSettings.h"

#include "config/CadProducts.h"
#include "config/Settings.h"
#include "config/SettingsKeys.h"
#include "text/CodePage.h"
#include "text/LineBreaks.h"
#include "text/TextUtil.h"

#include <array>

namespace qv {
namespace {

const std::string kBr(kCrLf);

constexpr std::array<OptionsProduct, 19> kOptionsProducts = {{
    {0, "AutoCAD 2000, 2002", "Cad2000", "Acad 2000/2002", true},
    {1, "AutoCAD R14", "Cad14", "", false},
    {2, "AutoCAD R13", "Cad13", "", false},
    {3, "AutoCAD LT2000, LT2002", "CadLT2000", "Acad LT 2000/2002", true},
    {4, "AutoCAD LT97, LT98", "CadLT98", "", false},
    {5, "Bricscad", "Bricscad", "", false},
    {6, "AutoCAD 2004", "Cad2004", "Acad 2004", true},
    {7, "AutoCAD LT2004", "CadLT2004", "Acad LT 2004", true},
    {8, "AutoCAD 2005, 2006", "Cad2005", "Acad 2005", true},
    {9, "AutoCAD LT2005, LT2006", "CadLT2005", "Acad LT 2005", true},
    {10, "AutoCAD 2007 - 2009", "Cad2007", "Acad 2007", true},
    {11, "AutoCAD LT2007 - LT2009", "CadLT2007", "Acad LT 2007", true},
    {12, "AutoCAD 2010 - 2012", "Cad2010", "Acad 2010/2011/2012", true},
    {13, "AutoCAD LT2010 - LT2012", "CadLT2010", "Acad LT 2010/2011/2012", true},
    {14, "AutoCAD 2013 - 2017", "Cad2013", "Acad 2013/2014/2015/2016/2017", true},
    {15, "AutoCAD LT2013 - LT2017", "CadLT2013", "Acad LT 2013/2014/2015/2016/2017", true},
    {16, "AutoCAD 2018 - 2025", "Cad2018", "Acad 2018", true},
    {17, "AutoCAD LT2018 - LT2025", "CadLT2018", "Acad LT 2018", true},
    {18, "ZWCad", "ZWCAD", "ZWCAD", false},
}};

UserMessage fieldError(std::string text)
{
    return {std::move(text), "Quorvel Error", MessageIcon::Information, MessageButtons::Ok};
}

} // namespace

std::span<const OptionsProduct> optionsProducts()
{
    return kOptionsProducts;
}

const OptionsProduct* findOptionsProduct(std::string_view code)
{
    const std::string upper = toUpperAscii(code);
    for (const OptionsProduct& product : kOptionsProducts) {
        if (toUpperAscii(product.code) == upper)
            return &product;
    }
    return nullptr;
}

std::string startOptionFor(int index)
{
    return index == 1 ? "_Recover" : "_Open";
}

std::string windowStateFor(int index)
{
    // The button reads "Maximized"; the stored value has always been written with an s.
    return index == 1 ? "Minimized" : index == 2 ? "Maximised" : "Normal";
}

std::string startSwitchFor(int index)
{
    return index == 1 ? "YesSwitch" : "NoSwitch";
}

int startEndIndex(std::string_view stored)
{
    return stored == "_Recover" ? 1 : 0;
}

int windowStyleIndex(std::string_view stored)
{
    return stored == "Minimized" ? 1 : stored == "Maximised" ? 2 : 0;
}

int startSwitchIndex(std::string_view stored)
{
    return stored == "YesSwitch" ? 1 : 0;
}

namespace options_text {

std::string cadLabel()
{
    return "Program Excutable.\neg. Acad.exe, Aclt.exe, Acadlt.exe";
}

std::string databaseLabel()
{
    return "Routine Database\nBatch_Cad.dat";
}

std::string explainField()
{
    return "For example you wish to sort the file name 350-150-STM-5896-VP-65 by the field 5896" + kBr +
           "then you would set the Field Delimiter to - and the Field Number to 4";
}

} // namespace options_text

std::optional<UserMessage> executableWarning(std::string_view path, ExecutableCheck check)
{
    std::string problem;
    switch (check) {
    case ExecutableCheck::Runnable:
        return std::nullopt;
    case ExecutableCheck::Missing:
        problem = trimSpaces(path).empty()
                      ? std::string("No CAD program is named under Program Executable.")
                      : "The CAD program under Program Executable does not exist:" + kBr + std::string(path);
        break;
    case ExecutableCheck::Folder:
        problem = "The Program Executable is a folder, not a program:" + kBr + std::string(path);
        break;
    case ExecutableCheck::NotRunnable:
        problem = "The Program Executable is not a program you may run:" + kBr + std::string(path);
        break;
    }
    return UserMessage{problem + kBr + kBr +
                           "The options were saved, but a batch cannot start the CAD program from here. Press Browse "
                           "next to Program Executable to choose the CAD program itself.",
                       "Options", MessageIcon::Exclamation, MessageButtons::Ok};
}

std::optional<FieldCheckFailure> checkFieldSort(std::string_view delimiter, std::string_view number)
{
    if (delimiter.empty() || number.empty())
        return FieldCheckFailure{fieldError("When you have selected to have the option to sort by field" + kBr +
                                            "you have to select the field delimiter and the number of the field" + kBr +
                                            "If you have any problems please check out the help file" + kBr),
                                 delimiter.empty() ? OptionsField::FieldDelimiter : OptionsField::FieldNumber};
    if (utf8Length(delimiter) > 1)
        return FieldCheckFailure{fieldError("The Field Delimiter under Sort by Field can only have one character" +
                                            kBr + "Please revise" + kBr),
                                 OptionsField::FieldDelimiter};
    // Only a number the sort can use passes: "0", "2.5" or "-1" would select no field at all.
    if (!parseFieldNumber(number))
        return FieldCheckFailure{fieldError("The Field Number under Sort by Field is incorrect this must be" + kBr +
                                            "a valid number. Please revise." + kBr),
                                 OptionsField::FieldNumber};
    return std::nullopt;
}

UpdateOutcome writeOptions(const SettingsFile& ini, const OptionsValues& values,
                           const std::function<Status()>& savePlotLocations)
{
    UpdateOutcome outcome;
    const auto failed = [&outcome](const Error& error) {
        outcome.message = errorMessage(error, "UpdateQVSettings");
        return outcome;
    };
    const std::pair<const char*, const char*> addressKeys[] = {
        {keys::kAcadSection, keys::kAcadKey},
        {keys::kDatabaseSection, keys::kDatabaseKey},
        {keys::kBatchWriteSection, keys::kBatchWriteKey},
    };
    const std::string* addresses[] = {&values.cadExecutable, &values.databasePath, &values.scriptFolder};
    for (std::size_t i = 0; i < 3; ++i) {
        if (Status written = ini.writeValue(addressKeys[i].first, addressKeys[i].second, *addresses[i]); !written)
            return failed(written.error());
    }
    if (Status written = ini.writeValue(keys::kCadVerSection, keys::kCadVerKey, values.productCode); !written)
        return failed(written.error());
    if (Status written = ini.writeValue(keys::kStartEndSection, keys::kStartKey, values.startOption); !written)
        return failed(written.error());
    if (Status written = ini.writeValue(keys::kStartEndSection, keys::kWindowKey, values.windowState); !written)
        return failed(written.error());
    if (savePlotLocations) {
        if (Status written = savePlotLocations(); !written)
            return failed(written.error());
    }
    outcome.release2004OrLater = isRelease2004OrLater(values.productCode);

    if (Status written = ini.writeValue(keys::kSwitchSection, keys::kStartOptionKey, values.startSwitch); !written)
        return failed(written.error());
    if (values.startSwitch == "YesSwitch") {
        const std::string_view switches = trimSpaces(values.switchText);
        if (switches.empty()) {
            outcome.message = UserMessage{"Please Enter The Startup Switches or Select No Extra Startup Switches",
                                          "Error", MessageIcon::Exclamation, MessageButtons::Ok};
            outcome.focus = OptionsField::StartupSwitch;
            return outcome;
        }
        if (Status written = ini.writeValue(keys::kSwitchSection, keys::kSwitchKey, std::string(switches)); !written)
            return failed(written.error());
    }

    if (!values.sortOn) {
        if (Status written = ini.writeValue(keys::kFieldSection, keys::kSortKey, "OFF"); !written)
            return failed(written.error());
        outcome.saved = true;
        return outcome;
    }
    if (auto check = checkFieldSort(values.fieldDelimiter, values.fieldNumber)) {
        outcome.message = std::move(check->message);
        outcome.focus = check->focus;
        return outcome;
    }
    const std::pair<const char*, const std::string> fieldKeys[] = {
        {keys::kSortKey, "ON"}, {keys::kDelimKey, values.fieldDelimiter}, {keys::kFieldNumKey, values.fieldNumber}};
    for (const auto& [key, value] : fieldKeys) {
        if (Status written = ini.writeValue(keys::kFieldSection, key, value); !written)
            return failed(written.error());
    }
    outcome.saved = true;
    return outcome;
}

} // namespace qv
