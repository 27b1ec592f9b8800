#include "batch/ScriptWriter.h"

#include "support/PlainScriptInputs.h"
#include "support/TempDir.h"
#include "text/LineBreaks.h"
#include "text/Paths.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <tuple>

namespace qv {
namespace {

const std::string kSep(1, pathSeparator());

// Each line followed by CR LF, as the script holds it.
std::string joinLines(const std::vector<std::string>& lines)
{
    return joinCrLf(lines) + "\r\n";
}

// The script around the lines of each drawing: the start-up drawing closed first, each drawing closed
// before the next one, the host quit after the last.
std::string script(const std::vector<std::vector<std::string>>& drawings, bool bricscad = false)
{
    const std::string u = bricscad ? "" : "_";
    std::string out = joinLines({u + "Zoom", "0.999x", u + "Close", bricscad ? "N" : "_Y"});
    for (std::size_t i = 0; i < drawings.size(); ++i)
        out += joinLines(drawings[i]) +
               joinLines({u + "Zoom", "0.999x", u + (i + 1 < drawings.size() ? "Close" : "Quit"), u + "Y"});
    return out + u + "Quit\r\n";
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

// The drawings that carry the read-only attribute, by the exact path the writer must ask for.
const std::set<std::string> kReadOnly = {"G" + kSep + "B.dwg", "F" + kSep + "B.dxf"};

ScriptInputs inputs(DrawingRows rows, std::string sequence = "1", std::string open = "_Open", bool collate = false,
                    std::vector<bool> readOnlyRows = {})
{
    ScriptInputs in = plainScriptInputs(std::move(rows), "/scripts", [](const std::string& description) {
        const auto found = kCatalogue.find(description);
        return found == kCatalogue.end() ? std::string("_unknown") : found->second;
    });
    in.openCommand = std::move(open);
    in.sequenceText = std::move(sequence);
    in.collate = collate;
    in.combinedScript = "_one\r\n_two";
    in.isReadOnly = [](const std::string& path) -> Result<bool> { return kReadOnly.contains(path); };
    in.readOnlyRows = std::move(readOnlyRows);
    return in;
}

std::string build(const ScriptInputs& in, ScriptWriterKind kind = ScriptWriterKind::General)
{
    auto script = buildScript(in, kind);
    EXPECT_TRUE(script.ok()) << (script.ok() ? "" : script.error().description);
    return script.ok() ? script.value().bytes : std::string();
}

TEST(ScriptWriter, LayoutOfTheWriters)
{
    using K = ScriptWriterKind;
    const std::string f = "F";
    const std::string a = quoted(f, "A.dwg");
    const DrawingRow purgeA{"A.dwg", f, "Purge", ""};
    const DrawingRows withDxf = {purgeA, {"B.dxf", f, "Convert DXF to a Drawing R14", ""}};
    const std::vector<std::string> dxfOnce = {"_Open", quoted(f, "B.dxf"), "_Y", "Saveas", "", quoted(f, "B.dwg")};
    const DrawingRows readOnly = {purgeA, {"B.dwg", "G" + kSep, "Purge", ""}};
    const std::tuple<const char*, ScriptInputs, K, std::string> cases[] = {
        {"empty list", inputs({}), K::General, "_Quit\r\n"},
        {"two drawings", inputs({purgeA, {"B.dwg", f, "Plot", ""}}), K::General,
         script({{"_Open", a, "_purge"}, {"_Open", quoted(f, "B.dwg"), "_-plot", "_Y"}})},
        {"trailing separator, empty routine, zero sets", inputs({{"A.dwg", f + kSep, "Empty", ""}}, "0"), K::General,
         script({{"_Open", a, ""}})},
        {"negative sets, combined text matched case-sensitively",
         inputs({{"A.dwg", f, "Combined Routines...", ""}, {"A.dwg", f, "combined routines...", ""}}, "-4"), K::General,
         script({{"_Open", a, "_one", "_two"}, {"_Open", a, "_fromcatalogue"}})},
        {"DXF conversion, twice", inputs({{"plan.dxf", "C:Jobs", "convert dxf to a drawing r14", ""}}, "2"), K::General,
         script({{"_Open", quoted("C:Jobs", "plan.dxf"), "Saveas", "", quoted("C:Jobs", "plan.dwg"), "Saveas", "",
                  quoted("C:Jobs", "plan.dwg")}})},
        // Only the drawing whose routine recovers takes the recover switch.
        {"recover for one drawing", inputs({{"A.dwg", f, "Recover Drawings", ""}, purgeA}, "1", "Unknown"), K::General,
         script({{"_Recover", a, "_Audit", "_Y"}, {"_Open", a, "_purge"}})},
        // The scan's answers come first; rows past them are asked one by one.
        {"read-only answer after the path", inputs(readOnly, "1", "Unknown", false, {true}), K::General,
         script({{"_Open", a, "_Y", "_purge"}, {"_Open", quoted("G", "B.dwg"), "_Y", "_purge"}})},
        // Collated: drawing 1 to n for set 1, then again for set 2; only the very last drawing quits.
        {"collated sets", inputs(withDxf, "2", "_Open", true), K::General,
         script({{"_Open", a, "_purge"}, dxfOnce, {"_Open", a, "_purge"}, dxfOnce})},
        {"not collated: each drawing's sets together, trimmed", inputs(withDxf, " 2 "), K::General,
         script({{"_Open", a, "_purge", "_purge"},
                 {"_Open", quoted(f, "B.dxf"), "_Y", "Saveas", "", quoted(f, "B.dwg"), "Saveas", "",
                  quoted(f, "B.dwg")}})},
        {"collated, BricsCAD, its open command without the underscore", inputs(readOnly, "2", "_Open", true),
         K::Bricscad,
         script({{"Open", a, "_purge"},
                 {"Open", quoted("G", "B.dwg"), "Y", "_purge"},
                 {"Open", a, "_purge"},
                 {"Open", quoted("G", "B.dwg"), "Y", "_purge"}},
                true)},
        // A routine never built stops the script at that drawing in the first set.
        {"stopped by an unbuilt routine", inputs({purgeA, {"B.dwg", f, "Unbuilt", ""}, purgeA}, "3", "_Open", true),
         K::General,
         joinLines({"_Zoom", "0.999x", "_Close", "_Y", "_Open", a, "_purge", "_Zoom", "0.999x", "_Close", "_Y", "_Quit",
                    "_Y"})},
        {"stopped at the first drawing: no start-up lines", inputs({{"B.dwg", f, "Unbuilt", ""}, purgeA}), K::Bricscad,
         joinLines({"Quit", "Y"})},
        {"Windows-1252", inputs({{"caf\xC3\xA9.dwg", f, "Euro", ""}}), K::General,
         script({{"_Open", quoted(f, "caf\xE9.dwg"), "_text \x80"}})},
    };
    for (const auto& [name, in, kind, expected] : cases)
        EXPECT_EQ(build(in, kind), expected) << name;

    // ZWCAD's script is the general one; one set reads the same collated or not.
    EXPECT_EQ(build(inputs(readOnly), K::Zwcad), build(inputs(readOnly)));
    EXPECT_EQ(build(inputs(withDxf, "1", "_Open", true)), build(inputs(withDxf)));
}

TEST(ScriptWriter, RecoverSwitchOnlyFromExactlyTheDefaultOpenCommand)
{
    const std::tuple<ScriptWriterKind, std::string, std::string> cases[] = {
        {ScriptWriterKind::General, "_Open", "_Recover"}, {ScriptWriterKind::General, "Unknown", "_Recover"},
        {ScriptWriterKind::General, "_open", "_open"},    {ScriptWriterKind::Bricscad, "Unknown", "Recover"},
        {ScriptWriterKind::Bricscad, "_Open", "Recover"}, {ScriptWriterKind::Bricscad, "_open", "open"},
    };
    for (const auto& [kind, open, expectedOpenLine] : cases) {
        const std::string script = build(inputs({{"A.dwg", "F", "RECOVER drawings", ""}}, "1", open), kind);
        const std::string expected = "\r\n" + expectedOpenLine + "\r\n" + quoted("F", "A.dwg") + "\r\n";
        EXPECT_NE(script.find(expected), std::string::npos) << open << "\n" << script;
    }
}

TEST(ScriptWriter, RefusesWhatTheScriptCannotHold)
{
    const std::tuple<ScriptInputs, int, std::string> cases[] = {
        {inputs({{"A.dwg", "F", "Purge", ""}, {"B.dwg", "F", "Polish", ""}}), ErrInvalidText, "routine Polish"},
        {inputs({{"\xC5\x82.dwg", "F", "Purge", ""}}), ErrInvalidText, "drawing F" + kSep + "\xC5\x82.dwg"},
        {inputs({{"A.dwg", "F", "Purge", ""}}, "two"), 13, "two"},
        {inputs({{"dx", "F", "Convert DXF to a Drawing R14", ""}}), ErrInvalidProcedureCall, "dx"},
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
        {ScriptWriterKind::Bricscad, locked,
         lockedLines("AutoCAD") + "Error Number 70 in routine LoopThroughListBricscad 16\r\n\r\nPermission denied"},
    };
    for (const auto& [kind, error, text] : cases) {
        EXPECT_EQ(scriptWriterErrorMessage(kind, error, 16),
                  (UserMessage{text, "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok}));
    }
}

// A script left by an earlier run, which a refused or failed run must leave as it is.
const std::string kStale = "_Open\r\n\"old.dwg\"\r\n";

// A probe that answers from a table of path suffixes (`others` for the rest) and records its calls.
struct FakeProbe
{
    std::map<std::string, int> answers;
    int others = 0;
    std::vector<std::string> calls;

    ScriptProbe probe()
    {
        return [this](const std::string& path) {
            calls.push_back(path);
            for (const auto& [suffix, number] : answers) {
                if (path.ends_with(kSep + suffix))
                    return number;
            }
            return others;
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

TEST(ScriptWriter, LockedScriptsMoveToTheNextNumber)
{
    // probe answers by script, answer for the others, last script probed, error (0: that script is chosen)
    const std::tuple<std::map<std::string, int>, int, const char*, int> cases[] = {
        {{}, 0, "Batch.scr", 0},
        {{{"Batch.scr", ErrFileNotFound}}, 0, "Batch.scr", 0},
        {{{"Batch.scr", ErrPermissionDenied}}, 0, "Batch1.scr", 0},
        {{{"Batch.scr", 70}, {"Batch1.scr", ErrPathFileAccess}, {"Batch2.scr", 70}}, 0, "Batch3.scr", 0},
        {{}, ErrPermissionDenied, "Batch20.scr", ErrPermissionDenied}, // every script locked is an error
    };
    for (const auto& [answers, others, lastProbed, error] : cases) {
        FakeProbe fake{answers, others, {}};
        const ScriptPathChoice choice = chooseScriptPath("/s" + kSep, fake.probe(), noQuestions());
        EXPECT_EQ(fake.calls.back(), "/s" + kSep + lastProbed);
        EXPECT_EQ(choice.error.has_value() ? choice.error->number : 0, error) << lastProbed;
        if (error == 0) {
            EXPECT_EQ(choice.path, fake.calls.back());
        }
        EXPECT_FALSE(choice.folderInvalid);
    }

    // Another error goes back to Batch.scr; it is retried until it works.
    int calls = 0;
    const ScriptPathChoice retried = chooseScriptPath(
        "/s", [&](const std::string&) { return ++calls < 3 ? ErrBadFileNameOrNumber : 0; }, noQuestions());
    EXPECT_EQ(retried.path, "/s" + kSep + "Batch.scr");
    EXPECT_EQ(calls, 3);
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
        EXPECT_FALSE(result.launch || result.written);
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
    EXPECT_TRUE(result.launch && result.written);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.path, dir.file("Batch.scr"));
    EXPECT_EQ(dir.read("Batch.scr"), build(in, ScriptWriterKind::Bricscad));

    // The placeholder stop writes its complete script, shows its message and still launches.
    in.rows.push_back({"B.dwg", "F", "Unbuilt", ""});
    const ScriptResult stopped = writeGeneralScript(in, fake.probe(), noQuestions());
    EXPECT_TRUE(stopped.launch);
    EXPECT_EQ(dir.read("Batch.scr"), build(in));
    ASSERT_EQ(stopped.messages.size(), 1u);
    EXPECT_EQ(buildScript(in, ScriptWriterKind::General).value().placeholderStop, stopped.messages[0]);
    const UserMessage& message = stopped.messages[0];
    EXPECT_EQ(message.title, "Error in Routine Unbuilt");
    EXPECT_EQ(message.icon, MessageIcon::Information);
    EXPECT_TRUE(message.text.starts_with("Firstly you have to set up this routine by using the Automatic\r\n"
                                         "Routine Creation Wizards. These wizards make routine writing easy\r\n\r\n"
                                         "1.  Start Quorvel\r\n"));
    EXPECT_NE(message.text.find("\r\n7.  In the Save Routine box add a unique description, \r\n"
                                "     or select one from the list to update.\r\n"),
              std::string::npos);
    EXPECT_TRUE(message.text.ends_with("\r\n    to any drawings you wish to process.\r\n"));
}

TEST(ScriptWriter, EntriesThatWouldBreakTheLinesAreRefusedBeforeAnyWrite)
{
    TempDir dir;
    const std::string drawing = "in routine LoopThroughList 9\r\n\r\nThe drawing ";
    const std::string routine = "in routine LoopThroughList 3\r\n\r\nThe routine R cannot be written";
    // row, text of its routine R, message (empty: written)
    const std::tuple<DrawingRow, std::string, std::string> cases[] = {
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
    for (const auto& [row, routineText, message] : cases) {
        dir.write("Batch.scr", kStale);
        auto in = inputs({{"ok.dwg", "F", "Purge", ""}, row});
        in.scriptFolder = dir.path();
        in.routineText = [text = routineText](const std::string& description) {
            return description == "R" ? text : std::string("_purge");
        };
        FakeProbe fake;
        const ScriptResult result = writeGeneralScript(in, fake.probe(), noQuestions());
        if (message.empty()) {
            EXPECT_TRUE(result.launch);
            EXPECT_NE(dir.read("Batch.scr").find("\"\r\n" + routineText + "\r\n_Zoom"), std::string::npos);
            continue;
        }
        expectFailed(result, message);
        EXPECT_EQ(dir.read("Batch.scr"), kStale) << message;
        EXPECT_TRUE(fake.calls.empty()); // refused before the script was even looked for
    }
}

TEST(ScriptWriter, FileErrorsNeverLaunchOnAStaleScript)
{
    TempDir dir;
    auto in = inputs({{"A.dwg", "F", "Purge", ""}});
    in.scriptFolder = dir.path();
    FakeProbe fake;

    // A build failure leaves the old script untouched.
    dir.write("Batch.scr", kStale);
    in.isReadOnly = [](const std::string& path) -> Result<bool> { return makeError(ErrFileNotFound, path); };
    expectFailed(writeGeneralScript(in, fake.probe(), noQuestions()),
                 "Error Number 53 in routine LoopThroughList 10\r\n\r\nFile not found: F" + kSep + "A.dwg");
    EXPECT_EQ(dir.read("Batch.scr"), kStale);
    in.isReadOnly = nullptr;

    // Every script held by a host: none is truncated, and no numbered one is made.
    FakeProbe allLocked{{}, ErrPermissionDenied, {}};
    expectFailed(writeGeneralScript(in, allLocked.probe(), noQuestions()), "in routine LoopThroughList Ver 11.0 1\r\n");
    EXPECT_EQ(dir.read("Batch.scr"), kStale);
    EXPECT_FALSE(std::filesystem::exists(dir.native("Batch1.scr")));

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
