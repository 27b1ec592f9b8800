#include "config/OptionsSettings.h"

#include "config/CadProducts.h"
#include "config/Settings.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace qv {
namespace {

const std::string kMissing = "When you have selected to have the option to sort by field\r\nyou have to select the "
                             "field delimiter and the number of the field\r\nIf you have any problems please check "
                             "out the help file\r\n";
const std::string kOneCharacter =
    "The Field Delimiter under Sort by Field can only have one character\r\nPlease revise\r\n";
const std::string kNotNumber =
    "The Field Number under Sort by Field is incorrect this must be\r\na valid number. Please revise.\r\n";

OptionsValues valid()
{
    OptionsValues values;
    values.cadExecutable = "/cad/acad.exe";
    values.databasePath = "/data/Batch_Cad.dat";
    values.scriptFolder = " /scripts ";
    values.productCode = "Cad2018";
    values.startOption = "_Recover";
    values.windowState = "Maximised";
    values.startSwitch = "YesSwitch";
    values.switchText = "  /p profile  ";
    values.sortOn = true;
    values.fieldDelimiter = "-";
    values.fieldNumber = "2";
    return values;
}

TEST(OptionsSettings, CheckFieldDelimNamesTheFaultAndTheField)
{
    const struct
    {
        const char* delimiter;
        const char* number;
        const std::string* text; // nullptr: passes
        OptionsField focus;
    } cases[] = {
        {"-", "4", nullptr, OptionsField::None},
        {" ", " 12 ", nullptr, OptionsField::None},
        {"\xE2\x82\xAC", "1", nullptr, OptionsField::None}, // one character of three bytes
        {"", "4", &kMissing, OptionsField::FieldDelimiter},
        {"-", "", &kMissing, OptionsField::FieldNumber},
        {"", "", &kMissing, OptionsField::FieldDelimiter},
        {"--", "4", &kOneCharacter, OptionsField::FieldDelimiter},
        {"--", "x", &kOneCharacter, OptionsField::FieldDelimiter},
        {"-", "x", &kNotNumber, OptionsField::FieldNumber}, // which numbers pass: Settings.FieldNumberText
    };
    for (const auto& c : cases) {
        const auto failure = checkFieldSort(c.delimiter, c.number);
        const std::string label = std::string(c.delimiter) + "|" + c.number;
        if (!c.text) {
            EXPECT_FALSE(failure.has_value()) << label;
            continue;
        }
        ASSERT_TRUE(failure.has_value()) << label;
        EXPECT_EQ(failure->message, (UserMessage{*c.text, "Quorvel Error", MessageIcon::Information})) << label;
        EXPECT_EQ(failure->focus, c.focus) << label;
    }
}

TEST(OptionsSettings, UpdateWritesEveryKeyInItsOrder)
{
    TempDir dir;
    const SettingsFile ini(dir.path());
    std::string seenByPlotStep;
    const UpdateOutcome outcome = writeOptions(ini, valid(), [&] {
        seenByPlotStep = dir.read("Quorvel.ini");
        return ini.writeValue("PlotWizard_Set", "PC3_Loc", "/plot/");
    });
    EXPECT_TRUE(outcome.saved);
    EXPECT_FALSE(outcome.message.has_value());
    EXPECT_EQ(outcome.release2004OrLater, std::optional<bool>(true));
    // The plot locations come after the window style and before the start switches.
    EXPECT_NE(seenByPlotStep.find("AcadWindow=Maximised"), std::string::npos);
    EXPECT_EQ(seenByPlotStep.find("StartOption"), std::string::npos);
    EXPECT_EQ(dir.read("Quorvel.ini"), "[Acad_Address]\r\nAcadAddress=/cad/acad.exe\r\n"
                                       "[db_Address]\r\ndbAddress=/data/Batch_Cad.dat\r\n"
                                       "[batch_Address]\r\nbatchAddress= /scripts \r\n"
                                       "[Cad_Ver]\r\nCadVer=Cad2018\r\n"
                                       "[Acad_StartEnd]\r\nAcadStart=_Recover\r\nAcadWindow=Maximised\r\n"
                                       "[PlotWizard_Set]\r\nPC3_Loc=/plot/\r\n"
                                       "[StartSwitch]\r\nStartOption=YesSwitch\r\nSwitch=/p profile\r\n"
                                       "[FieldOption]\r\nSortOnOff=ON\r\nFieldDelim=-\r\nFieldNum=2\r\n");

    // Switched off: only the switch of the sort is written, and the old delimiter stays.
    OptionsValues off = valid();
    off.sortOn = false;
    off.fieldDelimiter = "--";
    off.startSwitch = "NoSwitch";
    off.switchText.clear();
    EXPECT_TRUE(writeOptions(ini, off, {}).saved);
    EXPECT_EQ(ini.readValue("FieldOption", "SortOnOff"), "OFF");
    EXPECT_EQ(ini.readValue("FieldOption", "FieldDelim"), "-");
    EXPECT_EQ(ini.readValue("StartSwitch", "Switch"), "/p profile");
}

TEST(OptionsSettings, AFailedCheckKeepsWhatWasWrittenBeforeIt)
{
    TempDir dir;
    const SettingsFile ini(dir.path());
    // Extra switches chosen but none typed: everything up to StartOption is written, nothing after.
    OptionsValues values = valid();
    values.switchText = "   ";
    values.productCode = "Cad14";
    UpdateOutcome outcome = writeOptions(ini, values, {});
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.message, (UserMessage{"Please Enter The Startup Switches or Select No Extra Startup Switches",
                                            "Error", MessageIcon::Exclamation}));
    EXPECT_EQ(outcome.focus, OptionsField::StartupSwitch);
    EXPECT_EQ(outcome.release2004OrLater, std::optional<bool>(false));
    EXPECT_EQ(ini.readValue("Cad_Ver", "CadVer"), "Cad14");
    EXPECT_EQ(ini.readValue("StartSwitch", "StartOption"), "YesSwitch");
    EXPECT_EQ(ini.readValue("StartSwitch", "Switch"), "Unknown");

    // A delimiter of two characters: the switches are written, nothing of the field sort.
    values = valid();
    values.fieldDelimiter = "--";
    outcome = writeOptions(ini, values, {});
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.message->text, kOneCharacter);
    EXPECT_EQ(outcome.focus, OptionsField::FieldDelimiter);
    EXPECT_EQ(ini.readValue("StartSwitch", "Switch"), "/p profile");
    for (const char* key : {"SortOnOff", "FieldDelim", "FieldNum"})
        EXPECT_EQ(ini.readValue("FieldOption", key), "Unknown") << key;
}

TEST(OptionsSettings, AFailedWriteStopsTheSequenceAndIsReported)
{
    TempDir dir;
    std::filesystem::create_directory(dir.native("Quorvel.ini"));
    bool plotStepRan = false;
    const UpdateOutcome outcome = writeOptions(SettingsFile(dir.path()), valid(), [&] {
        plotStepRan = true;
        return Status{};
    });
    EXPECT_FALSE(outcome.saved);
    EXPECT_FALSE(plotStepRan);
    ASSERT_TRUE(outcome.message.has_value());
    EXPECT_EQ(outcome.message->title, "Quorvel Error");
    EXPECT_EQ(outcome.message->icon, MessageIcon::Critical);
    EXPECT_NE(outcome.message->text.find(" in routine UpdateQVSettings \r\n\r\n"), std::string::npos);

    // The plot step's own failure stops the sequence the same way.
    TempDir second;
    const SettingsFile ini(second.path());
    const UpdateOutcome plotFailed = writeOptions(ini, valid(), [] { return Status{Error{70, "Permission denied"}}; });
    EXPECT_FALSE(plotFailed.saved);
    EXPECT_EQ(plotFailed.message->text, "Error Number 70 in routine UpdateQVSettings \r\n\r\nPermission denied");
    EXPECT_EQ(ini.readValue("StartSwitch", "StartOption"), "Unknown");
}

TEST(OptionsSettings, StoredValuesComeBackThroughTheButtonsTheLoaderChooses)
{
    // The options window's round trip without the window: the loader turns each stored value into a button
    // of its group, and OK writes back what that button stands for.
    enum Group
    {
        Product,
        StartEnd,
        WindowStyle,
        StartSwitch
    };
    const struct
    {
        const char* section;
        const char* key;
        const char* stored; // nullptr: the key is missing
        Group group;
        int button;
        const char* written;
    } cases[] = {
        {"Acad_StartEnd", "AcadWindow", "Maximised", WindowStyle, 2, "Maximised"},
        {"Acad_StartEnd", "AcadWindow", "Minimized", WindowStyle, 1, "Minimized"},
        {"Acad_StartEnd", "AcadWindow", "Maximized", WindowStyle, 0, "Normal"},
        {"Acad_StartEnd", "AcadStart", nullptr, StartEnd, 0, "_Open"},
        {"Acad_StartEnd", "AcadStart", "_Recover", StartEnd, 1, "_Recover"},
        {"Cad_Ver", "CadVer", "Cad14", Product, 1, "Cad14"},
        {"Cad_Ver", "CadVer", "cad2010", Product, 12, "Cad2010"},
        {"Cad_Ver", "CadVer", "ZWCAD", Product, 18, "ZWCAD"},
        {"Cad_Ver", "CadVer", "Cad2019", Product, 8, "Cad2005"},
        {"StartSwitch", "StartOption", nullptr, StartSwitch, 0, "NoSwitch"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + (c.stored ? c.stored : "(missing)"));
        TempDir dir;
        const SettingsFile ini(dir.path());
        if (c.stored) {
            ASSERT_TRUE(ini.writeValue(c.section, c.key, c.stored).ok());
        }
        const OptionsProduct* product = findOptionsProduct(readProductCode(ini));
        ASSERT_NE(product, nullptr);
        const int chosen[] = {product->index, startEndIndex(readOpenCommand(ini)),
                              windowStyleIndex(readHostWindowState(ini)),
                              startSwitchIndex(readStartupSwitchOption(ini))};
        EXPECT_EQ(chosen[c.group], c.button);
        OptionsValues values = valid();
        values.productCode = product->code;
        values.startOption = startOptionFor(chosen[StartEnd]);
        values.windowState = windowStateFor(chosen[WindowStyle]);
        values.startSwitch = startSwitchFor(chosen[StartSwitch]);
        ASSERT_TRUE(writeOptions(ini, values, {}).saved);
        EXPECT_EQ(ini.readValue(c.section, c.key), c.written);
    }
}

TEST(OptionsSettings, EveryVersionButtonStoresAKnownCode)
{
    std::set<int> locked;
    std::set<std::string_view> codes;
    for (const OptionsProduct& product : optionsProducts()) {
        EXPECT_NE(findProduct(product.code), nullptr) << product.code;
        EXPECT_EQ(findOptionsProduct(product.code), &product);
        codes.insert(product.code);
        if (!product.userSelectable)
            locked.insert(product.index);
    }
    EXPECT_EQ(codes.size(), 19u);
    EXPECT_EQ(locked, (std::set<int>{1, 2, 4, 5, 18}));
    EXPECT_EQ(findOptionsProduct("Cad2019"), nullptr);
}

} // namespace
} // namespace qv
