#include "batch/ScriptWriter.h"

#include "support/TempDir.h"
#include "text/Paths.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <tuple>

namespace qv {
namespace {

const std::string kSep(1, pathSeparator());

// Each line followed by CR LF, as the script holds it.
std::string joinLines(std::initializer_list<std::string_view> lines)
{
    std::string out;
    for (const auto line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

// The general writer's script around `body`: the start-up drawing closed first, the host quit at the end.
std::string general(std::initializer_list<std::string_view> body)
{
    return joinLines({"_Zoom", "0.999x", "_Close", "_Y"}) + joinLines(body) +
           joinLines({"_Zoom", "0.999x", "_Quit", "_Y", "_Quit"});
}

std::string quoted(const std::string& folder, const std::string& file)
{
    return "\"" + folder + kSep + file + "\"";
}

const std::map<std::string, std::string> kCatalogue = {
    {"Plot", "_-plot\r\n_Y"},
    {"Purge", "_purge"},
    {"Empty", ""},
    {"Unbuilt", "first SET UP this routine by using the Automatic Routine Creation Wizards"},
    {"Recover Drawings", "_Audit\r\n_Y"},
    {"Euro", "_text \xE2\x82\xAC"},             // € is in Windows-1252 (0x80)
    {"Polish", "_text \xC5\x82"},               // ł is not
    {"combined routines...", "_fromcatalogue"}, // not the combined text: the match is case-sensitive
};

ScriptInputs inputs(std::vector<DrawingRow> rows, std::string sequence = "1", std::string open = "_Open")
{
    ScriptInputs in;
    in.rows = std::move(rows);
    in.scriptFolder = "/scripts";
    in.openCommand = std::move(open);
    in.sequenceText = std::move(sequence);
    in.combinedScript = "_one\r\n_two";
    in.routineText = [](const std::string& description) {
        const auto found = kCatalogue.find(description);
        return found == kCatalogue.end() ? std::string("_unknown") : found->second;
    };
    in.isReadOnly = [](const std::string&) -> Result<bool> { return false; };
    return in;
}

std::string build(const ScriptInputs& in, ScriptWriterKind kind = ScriptWriterKind::General)
{
    auto script = buildScript(in, kind);
    EXPECT_TRUE(script.ok()) << (script.ok() ? "" : script.error().description);
    return script.ok() ? script.value().bytes : std::string();
}

TEST(ScriptWriter, LayoutOfTheGeneralWriter)
{
    const std::string f = "F";
    const std::tuple<const char*, ScriptInputs, std::string> cases[] = {
        {"empty list", inputs({}), joinLines({"_Quit"})},
        {"one drawing", inputs({{"A.dwg", f, "Purge", ""}}),
         joinLines({"_Zoom", "0.999x", "_Close", "_Y", "_Open", quoted(f, "A.dwg"), "_purge", "_Zoom", "0.999x",
                    "_Quit", "_Y", "_Quit"})},
        {"two drawings", inputs({{"A.dwg", f, "Purge", ""}, {"B.dwg", f, "Plot", ""}}),
         general({"_Open", quoted(f, "A.dwg"), "_purge", "_Zoom", "0.999x", "_Close", "_Y", "_Open", quoted(f, "B.dwg"),
                  "_-plot", "_Y"})},
        {"three sets, trimmed", inputs({{"A.dwg", f, "Purge", ""}}, " 3 "),
         general({"_Open", quoted(f, "A.dwg"), "_purge", "_purge", "_purge"})},
        {"trailing separator, empty routine, zero sets", inputs({{"A.dwg", f + kSep, "Empty", ""}}, "0"),
         general({"_Open", quoted(f, "A.dwg"), ""})},
        {"negative sets, combined text", inputs({{"A.dwg", f, "Combined Routines...", ""}}, "-4"),
         general({"_Open", quoted(f, "A.dwg"), "_one", "_two"})},
        {"combined match is case-sensitive", inputs({{"A.dwg", f, "combined routines...", ""}}),
         general({"_Open", quoted(f, "A.dwg"), "_fromcatalogue"})},
        {"DXF conversion, twice", inputs({{"plan.dxf", "C:Jobs", "convert dxf to a drawing r14", ""}}, "2"),
         general({"_Open", quoted("C:Jobs", "plan.dxf"), "Saveas", "", quoted("C:Jobs", "plan.dwg"), "Saveas", "",
                  quoted("C:Jobs", "plan.dwg")})},
    };
    for (const auto& [name, inputs, expected] : cases)
        EXPECT_EQ(build(inputs), expected) << name;
}

TEST(ScriptWriter, CollatedSetsWalkTheWholeListOncePerSet)
{
    const std::string f = "F";
    const std::string close[] = {"_Zoom", "0.999x", "_Close", "_Y"};
    ScriptInputs collated = inputs({{"A.dwg", f, "Purge", ""}, {"B.dxf", f, "Convert DXF to a Drawing R14", ""}}, "2");
    collated.collate = true;
    collated.isReadOnly = [](const std::string& path) -> Result<bool> { return path.ends_with("B.dxf"); };
    const std::string a = joinLines({"_Open", quoted(f, "A.dwg"), "_purge"});
    const std::string b = joinLines({"_Open", quoted(f, "B.dxf"), "_Y", "Saveas", "", quoted(f, "B.dwg")});
    const std::string tail = joinLines({close[0], close[1], close[2], close[3]});
    // Drawing 1 to n for set 1, then again for set 2; only the very last drawing quits.
    EXPECT_EQ(build(collated), joinLines({"_Zoom", "0.999x", "_Close", "_Y"}) + a + tail + b + tail + a + tail + b +
                                   joinLines({"_Zoom", "0.999x", "_Quit", "_Y", "_Quit"}));

    // Not collated: each drawing's sets stay together; one set reads the same either way.
    ScriptInputs together = collated;
    together.collate = false;
    EXPECT_EQ(build(together),
              general({"_Open", quoted(f, "A.dwg"), "_purge", "_purge", "_Zoom", "0.999x", "_Close", "_Y", "_Open",
                       quoted(f, "B.dxf"), "_Y", "Saveas", "", quoted(f, "B.dwg"), "Saveas", "", quoted(f, "B.dwg")}));
    ScriptInputs oneSet = collated;
    oneSet.sequenceText = "1";
    together.sequenceText = "1";
    EXPECT_EQ(build(oneSet), build(together));

    // The BricsCAD writer collates the same way with its own tokens.
    ScriptInputs bricscad = inputs({{"A.dwg", f, "Purge", ""}}, "3");
    bricscad.collate = true;
    EXPECT_EQ(build(bricscad, ScriptWriterKind::Bricscad),
              joinLines({"Zoom", "0.999x", "Close", "N", "Open", quoted(f, "A.dwg"), "_purge",
                         "Zoom", "0.999x", "Close", "Y", "Open", quoted(f, "A.dwg"), "_purge",
                         "Zoom", "0.999x", "Close", "Y", "Open", quoted(f, "A.dwg"), "_purge",
                         "Zoom", "0.999x", "Quit",  "Y", "Quit"}));

    // A routine never built stops the script at that drawing in the first set.
    ScriptInputs stopped = inputs({{"A.dwg", f, "Purge", ""}, {"B.dwg", f, "Unbuilt", ""}}, "3");
    stopped.collate = true;
    EXPECT_EQ(build(stopped), joinLines({"_Zoom", "0.999x", "_Close", "_Y", "_Open", quoted(f, "A.dwg"), "_purge",
                                         "_Zoom", "0.999x", "_Close", "_Y", "_Quit", "_Y"}));

    // Written to disk, the streamed script is the same text.
    TempDir dir;
    collated.scriptFolder = dir.path();
    const ScriptResult result = writeBatchScript(
        collated, ScriptWriterKind::General, [](const std::string&) { return 0; }, nullptr);
    EXPECT_TRUE(result.launch);
    EXPECT_EQ(dir.read("Batch.scr"), build(collated));
}

TEST(ScriptWriter, RecoverSwitchOnlyFromExactlyTheDefaultOpenCommand)
{
    const std::tuple<ScriptWriterKind, std::string, std::string> cases[] = {
        {ScriptWriterKind::General, "_Open", "_Recover"},    {ScriptWriterKind::General, "Unknown", "_Recover"},
        {ScriptWriterKind::General, "_Recover", "_Recover"}, {ScriptWriterKind::General, "_open", "_open"},
        {ScriptWriterKind::Zwcad, "_Open", "_Recover"},      {ScriptWriterKind::Bricscad, "Unknown", "Recover"},
        {ScriptWriterKind::Bricscad, "Open", "Recover"},     {ScriptWriterKind::Bricscad, "_Open", "Recover"},
        {ScriptWriterKind::Bricscad, "_Recover", "Recover"}, {ScriptWriterKind::Bricscad, "_open", "open"},
    };
    for (const auto& [kind, open, expectedOpenLine] : cases) {
        const std::string script = build(inputs({{"A.dwg", "F", "RECOVER drawings", ""}}, "1", open), kind);
        const std::string expected = "\r\n" + expectedOpenLine + "\r\n" + quoted("F", "A.dwg") + "\r\n";
        EXPECT_NE(script.find(expected), std::string::npos) << open << "\n" << script;
    }
    // Other drawings keep the configured command.
    const std::string mixed =
        build(inputs({{"A.dwg", "F", "Recover Drawings", ""}, {"B.dwg", "F", "Purge", ""}}, "1", "Unknown"));
    EXPECT_NE(mixed.find("_Recover\r\n" + quoted("F", "A.dwg")), std::string::npos);
    EXPECT_NE(mixed.find("_Open\r\n" + quoted("F", "B.dwg")), std::string::npos);
    // BricsCAD writes the configured command without its underscore for every drawing.
    const std::string bricscad = build(inputs({{"B.dwg", "F", "Purge", ""}}, "1", "_Open"), ScriptWriterKind::Bricscad);
    EXPECT_NE(bricscad.find("\r\nOpen\r\n" + quoted("F", "B.dwg")), std::string::npos) << bricscad;
}

TEST(ScriptWriter, ReadOnlyAnswerAfterThePathAndTheBricscadTokens)
{
    ScriptInputs in = inputs({{"A.dwg", "F", "Purge", ""}, {"B.dwg", "G" + kSep, "Purge", ""}}, "1", "Unknown");
    std::vector<std::string> asked;
    in.isReadOnly = [&](const std::string& path) -> Result<bool> {
        asked.push_back(path);
        return path.ends_with("B.dwg");
    };
    EXPECT_EQ(build(in), general({"_Open", quoted("F", "A.dwg"), "_purge", "_Zoom", "0.999x", "_Close", "_Y", "_Open",
                                  quoted("G", "B.dwg"), "_Y", "_purge"}));
    EXPECT_EQ(asked, (std::vector<std::string>{"F" + kSep + "A.dwg", "G" + kSep + "B.dwg"}));
    const std::string bricscad =
        joinLines({"Zoom", "0.999x", "Close", "N", "Open", quoted("F", "A.dwg"), "_purge"}) +
        joinLines({"Zoom", "0.999x", "Close", "Y", "Open", quoted("G", "B.dwg"), "Y", "_purge"}) +
        joinLines({"Zoom", "0.999x", "Quit", "Y", "Quit"});
    EXPECT_EQ(build(in, ScriptWriterKind::Bricscad), bricscad);
    EXPECT_EQ(build(in, ScriptWriterKind::Zwcad), build(in, ScriptWriterKind::General));
    EXPECT_EQ(build(inputs({}), ScriptWriterKind::Bricscad), joinLines({"Quit"}));
}

TEST(ScriptWriter, PlaceholderRoutineStopsTheScript)
{
    const auto in = inputs({{"A.dwg", "F", "Purge", ""}, {"B.dwg", "F", "Unbuilt", ""}, {"C.dwg", "F", "Plot", ""}});
    auto script = buildScript(in, ScriptWriterKind::General);
    ASSERT_TRUE(script.ok());
    EXPECT_EQ(script.value().bytes, joinLines({"_Zoom", "0.999x", "_Close", "_Y", "_Open", quoted("F", "A.dwg"),
                                               "_purge", "_Zoom", "0.999x", "_Close", "_Y", "_Quit", "_Y"}));
    ASSERT_TRUE(script.value().placeholderStop.has_value());
    const UserMessage& message = *script.value().placeholderStop;
    EXPECT_EQ(message.title, "Error in Routine Unbuilt");
    EXPECT_EQ(message.icon, MessageIcon::Information);
    EXPECT_TRUE(message.text.starts_with("Firstly you have to set up this routine by using the Automatic\r\n"
                                         "Routine Creation Wizards. These wizards make routine writing easy\r\n\r\n"
                                         "1.  Start Quorvel\r\n"));
    EXPECT_NE(message.text.find("\r\n7.  In the Save Routine box add a unique description, \r\n"
                                "     or select one from the list to update.\r\n"),
              std::string::npos);
    EXPECT_TRUE(message.text.ends_with("\r\n    to any drawings you wish to process.\r\n"));

    // First drawing unbuilt: no start-up lines at all.
    auto first = buildScript(inputs({{"B.dwg", "F", "Unbuilt", ""}}), ScriptWriterKind::Bricscad);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first.value().bytes, joinLines({"Quit", "Y"}));
}

TEST(ScriptWriter, ScriptIsWindows1252AndRefusesWhatItCannotHold)
{
    EXPECT_EQ(build(inputs({{"caf\xC3\xA9.dwg", "F", "Euro", ""}})),
              general({"_Open", quoted("F", "caf\xE9.dwg"), "_text \x80"}));

    auto readOnlyFails = inputs({{"A.dwg", "F", "Purge", ""}});
    readOnlyFails.isReadOnly = [](const std::string& path) -> Result<bool> { return makeError(ErrFileNotFound, path); };
    const std::tuple<ScriptInputs, int, std::string> cases[] = {
        {inputs({{"A.dwg", "F", "Purge", ""}, {"B.dwg", "F", "Polish", ""}}), ErrInvalidText, "routine Polish"},
        {inputs({{"\xC5\x82.dwg", "F", "Purge", ""}}), ErrInvalidText, "drawing F" + kSep + "\xC5\x82.dwg"},
        {inputs({{"A.dwg", "F", "Purge", ""}}, "two"), 13, "two"},
        {inputs({{"dx", "F", "Convert DXF to a Drawing R14", ""}}), ErrInvalidProcedureCall, "dx"},
        {readOnlyFails, ErrFileNotFound, "F" + kSep + "A.dwg"},
    };
    for (const auto& [inputs, number, mentions] : cases) {
        auto script = buildScript(inputs, ScriptWriterKind::General);
        ASSERT_FALSE(script.ok()) << mentions;
        EXPECT_EQ(script.error().number, number) << mentions;
        EXPECT_NE(script.error().description.find(mentions), std::string::npos) << script.error().description;
    }
}

TEST(ScriptWriter, ErrorTextsOfTheThreeWriters)
{
    const Error locked{ErrPermissionDenied, "Permission denied"};
    const Error other{ErrDiskFull, "Disk full"};
    const auto lockedLines = [](const std::string& host) {
        return "If Quorvel has just started " + host + ", then " + host + " has the script file locked\r\n" +
               "To run a concurrent session start another session of Quorvel\r\n"
               "If this is not the case then please contact us with this error message.\r\n";
    };
    const std::tuple<ScriptWriterKind, Error, std::string> cases[] = {
        {ScriptWriterKind::General, locked,
         lockedLines("AutoCAD") + "Error Number 70 in routine LoopThroughList Ver 11.0 16\r\n\r\nPermission denied"},
        {ScriptWriterKind::General, other, "Error Number 61 in routine LoopThroughList 16\r\n\r\nDisk full"},
        {ScriptWriterKind::Zwcad, locked,
         lockedLines("ZWCAD") + "Error Number 70 in routine LoopThroughListZWCAD 16\r\n\r\nPermission denied"},
        {ScriptWriterKind::Zwcad, other, "Error Number 61 in routine LoopThroughListZWCAD 16\r\n\r\nDisk full"},
        {ScriptWriterKind::Bricscad, locked,
         lockedLines("AutoCAD") + "Error Number 70 in routine LoopThroughListBricscad 16\r\n\r\nPermission denied"},
        {ScriptWriterKind::Bricscad, other, "Error Number 61 in routine LoopThroughListBricscad 16\r\n\r\nDisk full"},
    };
    for (const auto& [kind, error, text] : cases) {
        EXPECT_EQ(scriptWriterErrorMessage(kind, error, 16),
                  (UserMessage{text, "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok}));
    }
}

// A probe that answers from a table of path suffixes (0 for the others) and records its calls.
struct FakeProbe
{
    std::map<std::string, int> answers;
    int fallback = 0;
    std::vector<std::string> calls;

    ScriptProbe probe()
    {
        return [this](const std::string& path) {
            calls.push_back(path);
            for (const auto& [suffix, number] : answers) {
                if (path.ends_with(kSep + suffix))
                    return number;
            }
            return fallback;
        };
    }
};

// A run that failed: nothing launched or written, and one message that holds `part`.
void expectFailed(const ScriptResult& result, const std::string& part)
{
    EXPECT_FALSE(result.launch);
    EXPECT_FALSE(result.written);
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_NE(result.messages[0].text.find(part), std::string::npos) << result.messages[0].text;
}

AskUser noQuestions()
{
    return [](const UserMessage& message) {
        ADD_FAILURE() << "unexpected question: " << message.text;
        return MessageAnswer::Cancel;
    };
}

TEST(ScriptWriter, LockedScriptsMoveToTheNextNumber)
{
    const std::pair<std::map<std::string, int>, std::string> cases[] = {
        {{}, "Batch.scr"},
        {{{"Batch.scr", ErrFileNotFound}}, "Batch.scr"},
        {{{"Batch.scr", ErrPermissionDenied}}, "Batch1.scr"},
        {{{"Batch.scr", ErrPermissionDenied}, {"Batch1.scr", ErrPathFileAccess}, {"Batch2.scr", 70}}, "Batch3.scr"},
    };
    for (const auto& [answers, chosen] : cases) {
        FakeProbe fake{answers, 0, {}};
        const ScriptPathChoice choice = chooseScriptPath("/s" + kSep, fake.probe(), noQuestions());
        EXPECT_EQ(choice.path, "/s" + kSep + chosen);
        EXPECT_FALSE(choice.error.has_value());
        EXPECT_FALSE(choice.folderInvalid);
    }

    // Another error goes back to Batch.scr; it is retried until it works.
    int calls = 0;
    const ScriptPathChoice retried = chooseScriptPath(
        "/s", [&](const std::string&) { return ++calls < 3 ? ErrBadFileNameOrNumber : 0; }, noQuestions());
    EXPECT_EQ(retried.path, "/s" + kSep + "Batch.scr");
    EXPECT_EQ(calls, 3);
}

TEST(ScriptWriter, EveryScriptLockedIsAnErrorAndNothingIsTruncated)
{
    FakeProbe fake{{}, ErrPermissionDenied, {}};
    const ScriptPathChoice choice = chooseScriptPath("/s", fake.probe(), noQuestions());
    ASSERT_EQ(fake.calls.size(), 21u);
    EXPECT_EQ(fake.calls[20], "/s" + kSep + "Batch20.scr");
    ASSERT_TRUE(choice.error.has_value());
    EXPECT_EQ(choice.error->number, ErrPermissionDenied);

    TempDir dir;
    dir.write("Batch.scr", "held by a host");
    auto in = inputs({{"A.dwg", "F", "Purge", ""}});
    in.scriptFolder = dir.path();
    FakeProbe all{{}, ErrPermissionDenied, {}};
    expectFailed(writeGeneralScript(in, all.probe(), noQuestions()), "in routine LoopThroughList Ver 11.0 1\r\n");
    EXPECT_EQ(dir.read("Batch.scr"), "held by a host");
    EXPECT_FALSE(std::filesystem::exists(dir.native("Batch1.scr")));
}

TEST(ScriptWriter, MissingScriptFolderOffersTheStartupReset)
{
    for (const auto answer : {MessageAnswer::Ok, MessageAnswer::Cancel}) {
        std::vector<UserMessage> asked;
        FakeProbe fake{{}, ErrPathNotFound, {}};
        auto in = inputs({{"A.dwg", "F", "Purge", ""}});
        in.scriptFolder = "/no/such/folder";
        const ScriptResult result =
            writeBatchScript(in, ScriptWriterKind::Zwcad, fake.probe(), [&](const UserMessage& message) {
                asked.push_back(message);
                return answer;
            });
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0], (UserMessage{"The location for the Batch.scr file is not valid. To reset the location by "
                                         "redoing the startup sequence Press OK.",
                                         "Reset Startup Sequence", MessageIcon::None, MessageButtons::OkCancel}));
        EXPECT_EQ(result.resetStartup, answer == MessageAnswer::Ok);
        EXPECT_FALSE(result.launch);
        EXPECT_FALSE(result.written);
        EXPECT_TRUE(result.messages.empty());
        EXPECT_EQ(result.path, "/no/such/folder" + kSep + "Batch.scr");
        EXPECT_EQ(fake.calls.size(), 1u);
    }
}

TEST(ScriptWriter, WritesTheScriptAndLaunches)
{
    TempDir dir;
    dir.write("Batch.scr", "an older and much longer script than the new one");
    auto in = inputs({{"A.dwg", "F", "Purge", ""}});
    in.scriptFolder = dir.path() + kSep;
    FakeProbe fake;
    const ScriptResult result = writeBricscadScript(in, fake.probe(), noQuestions());
    EXPECT_TRUE(result.launch);
    EXPECT_TRUE(result.written);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.path, dir.file("Batch.scr"));
    EXPECT_EQ(dir.read("Batch.scr"), build(in, ScriptWriterKind::Bricscad));

    // The placeholder stop writes its complete script, shows its message and still launches.
    in.rows.push_back({"B.dwg", "F", "Unbuilt", ""});
    const ScriptResult stopped = writeGeneralScript(in, fake.probe(), noQuestions());
    EXPECT_TRUE(stopped.launch);
    EXPECT_EQ(stopped.messages, std::vector<UserMessage>{placeholderRoutineMessage("Unbuilt")});
    EXPECT_EQ(dir.read("Batch.scr"), build(in));
}

TEST(ScriptWriter, EntriesThatWouldBreakTheLinesAreRefusedBeforeAnyWrite)
{
    TempDir dir;
    const std::string stale = "_Open\r\n\"old.dwg\"\r\n";
    struct Case
    {
        DrawingRow row;
        std::string routineText;
        std::string message; // empty: written
    };
    const std::string drawing = "in routine LoopThroughList 9\r\n\r\nThe drawing ";
    const std::string routine = "in routine LoopThroughList 3\r\n\r\nThe routine R cannot be written";
    const Case cases[] = {
        {{"A.dwg", "F", "R", ""}, "_a\r\n_b\r\n", ""},
        {{"A.dwg", "F", "R", ""}, "_a\n_b", routine},
        {{"A.dwg", "F", "R", ""}, "_a\r_b", routine},
        {{"A.dwg", "F", "R", ""}, "_a\r\n\n", routine},
        {{"A.dwg", "F", "R", ""}, "\n", routine},
        {{"A.dwg", "F", "R", ""}, "_a\r", routine},
        {{"A\".dwg", "F", "R", ""}, "_a", drawing + "F" + kSep + "A\".dwg"},
        {{"A.dwg", "F\"x", "R", ""}, "_a", drawing},
        {{"A\r\n.dwg", "F", "R", ""}, "_a", drawing},
        {{"A.dwg", "F\n", "R", ""}, "_a", drawing},
    };
    for (const Case& c : cases) {
        dir.write("Batch.scr", stale);
        auto in = inputs({{"ok.dwg", "F", "Purge", ""}, c.row});
        in.scriptFolder = dir.path();
        in.routineText = [&c](const std::string& description) {
            return description == "R" ? c.routineText : std::string("_purge");
        };
        FakeProbe fake;
        const ScriptResult result = writeGeneralScript(in, fake.probe(), noQuestions());
        if (c.message.empty()) {
            EXPECT_TRUE(result.launch);
            EXPECT_NE(dir.read("Batch.scr").find("\"\r\n" + c.routineText + "\r\n_Zoom"), std::string::npos);
            continue;
        }
        expectFailed(result, c.message);
        EXPECT_EQ(dir.read("Batch.scr"), stale) << c.message;
        EXPECT_TRUE(fake.calls.empty()); // refused before the script was even looked for
    }
}

TEST(ScriptWriter, FileErrorsNeverLaunchOnAStaleScript)
{
    TempDir dir;
    const std::string stale = "_Open\r\n\"old.dwg\"\r\n";
    auto in = inputs({{"A.dwg", "F", "Purge", ""}});
    in.scriptFolder = dir.path();
    FakeProbe fake;

    // A build failure leaves the old script untouched.
    dir.write("Batch.scr", stale);
    in.isReadOnly = [](const std::string& path) -> Result<bool> { return makeError(ErrFileNotFound, path); };
    expectFailed(writeGeneralScript(in, fake.probe(), noQuestions()),
                 "Error Number 53 in routine LoopThroughList 10\r\n\r\n");
    EXPECT_EQ(dir.read("Batch.scr"), stale);
    in.isReadOnly = nullptr;

    // The script cannot be created: its name is taken by a folder.
    std::filesystem::remove(dir.native("Batch.scr"));
    std::filesystem::create_directory(dir.native("Batch.scr"));
    expectFailed(writeZwcadScript(in, fake.probe(), noQuestions()), "in routine LoopThroughListZWCAD 15\r\n");

    // The folder vanished after the probe.
    in.scriptFolder = dir.file("gone");
    expectFailed(writeGeneralScript(in, fake.probe(), noQuestions()),
                 "Error Number 76 in routine LoopThroughList 15\r\n");

#ifndef _WIN32
    // The write itself fails: the script is a device that is always full.
    if (std::filesystem::exists("/dev/full")) {
        const std::string full = dir.file("full");
        std::filesystem::create_directory(full);
        std::filesystem::create_symlink("/dev/full", full + kSep + "Batch.scr");
        in.scriptFolder = full;
        expectFailed(writeGeneralScript(in, fake.probe(), noQuestions()),
                     "Error Number 61 in routine LoopThroughList 16\r\n");
    }
#endif
}

} // namespace
} // namespace qv
