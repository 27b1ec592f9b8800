// Runs the stand-in CAD host on scripts written to a temporary folder and checks the rules of its prompt
// model that a full Quorvel run does not reach (the end-to-end tests cover a normal batch).

#include "../support/ChildProcess.h"
#include "../support/HostEvents.h"
#include "../support/TempDir.h"
#include "ScriptLock.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

// The host's exit status and its journal.
struct HostRun : testsupport::HostEvents
{
    int status = -1;
};

namespace fs = std::filesystem;

// Whole seconds, which every file system keeps exactly.
const fs::file_time_type kOldTime =
    std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now()) - std::chrono::hours(24 * 365);

const std::string kCadhost = testsupport::programBeside(CADHOST_NAME);

bool modifiedSinceSetUp(const std::string& path)
{
    std::error_code error;
    const fs::file_time_type time = fs::last_write_time(TempDir::toPath(path), error);
    return !error && time != kOldTime;
}

class CadHostTest : public ::testing::Test
{
protected:
    // A drawing file with an old modification time, so that a save shows.
    std::string drawing(const std::string& name, bool readOnly = false)
    {
        const std::string path = m_tmp.file(name);
        m_tmp.write(name, "DWG");
        const fs::path native = TempDir::toPath(path);
        fs::permissions(native, fs::perms::owner_write, fs::perm_options::add);
        fs::last_write_time(native, kOldTime);
        if (readOnly) {
            fs::permissions(native, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
        }
        return path;
    }

    std::string writeScript(const std::vector<std::string>& lines)
    {
        m_tmp.write("Batch.scr", testsupport::hostScript(lines));
        return m_tmp.file("Batch.scr");
    }

    testsupport::Child spawn(const std::vector<std::string>& args, int holdMs = 0)
    {
        testsupport::setEnvironment("CADHOST_HOLD_MS", std::to_string(holdMs));
        testsupport::setEnvironment("CADHOST_PRODUCT", "");
        testsupport::setEnvironment("CADHOST_JOURNAL", "");
        return testsupport::startChild(kCadhost, args);
    }

    HostRun finish(testsupport::Child child, const std::string& journalPath)
    {
        HostRun run;
        run.status = testsupport::waitForChild(child);
        std::ifstream in(TempDir::toPath(journalPath), std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            std::stringstream fields(line);
            qv::hostmodel::HostEvent& e = run.events.emplace_back();
            fields >> e.line;
            fields.ignore();
            std::getline(fields, e.event, '\t');
            std::getline(fields, e.drawing, '\t');
            std::getline(fields, e.detail);
        }
        return run;
    }

    HostRun runScript(const std::vector<std::string>& lines, const std::string& product = "Cad2018")
    {
        const std::string script = writeScript(lines);
        return finish(spawn({"--product=" + product, "/b", script}), script + ".journal");
    }

    TempDir m_tmp;
};

TEST_F(CadHostTest, ReadOnlyDrawingNeedsItsAnswerAndIsNeverSaved)
{
    // AutoCAD's quit throws the changes away, so a read-only drawing closes cleanly; BricsCAD's saves them, which
    // fails. Without an answer the routine's own lines meet the read-only question: each is rejected until "_N".
    // product, the answer to the read-only question, the opened and closed events, errors, a text of the first
    const std::tuple<std::string, std::vector<std::string>, std::vector<std::string>, std::size_t, std::string>
        cases[] = {
            {"Cad2018", {"_Y"}, {"closed:changes discarded", "opened:read-only", "closed:changes discarded"}, 0, ""},
            {"CadLT2010", {""}, {"closed:changes discarded", "opened:read-only", "closed:changes discarded"}, 0, ""},
            {"Bricscad", {"_Y"}, {"closed:saved", "opened:read-only", "closed:changes discarded"}, 1, "write protected"},
            {"Cad2018", {}, {"closed:changes discarded"}, 5, "error:open-readonly: _purge: Invalid option keyword."},
        };
    for (const auto& [product, answer, trace, errors, firstError] : cases) {
        const std::string b = drawing("B.dwg", true);
        std::vector<std::string> lines = {"_Zoom", "0.999x", "_Close", "_Y", "_Open", "\"" + b + "\""};
        lines.insert(lines.end(), answer.begin(), answer.end());
        lines.insert(lines.end(), {"_purge", "_LA", "*", "_N", "_Zoom", "0.999x", "_Quit", "_Y", "_Quit"});
        const HostRun result = runScript(lines, product);
        SCOPED_TRACE(product + ::testing::PrintToString(answer));
        EXPECT_EQ(result.status, errors == 0 ? 0 : 1);
        EXPECT_EQ(result.trace({"opened", "closed"}), trace);
        ASSERT_EQ(result.trace({"error"}).size(), errors);
        if (errors > 0) {
            EXPECT_NE(result.trace({"error"})[0].find(firstError), std::string::npos);
        }
        EXPECT_FALSE(modifiedSinceSetUp(b));
    }
}

TEST_F(CadHostTest, PurgeTypesFollowTheRelease)
{
    const std::string r14 = "(Purge unused Blocks/Dimstyles/LAyers/LTypes/SHapes/STyles/Mlinestyles/All:)";
    const std::string r2018 =
        "[Blocks/DEtailviewstyles/Dimstyles/Groups/LAyers/LTypes/MAterials/MUltileaderstyles/Plotstyles/SHapes/"
        "textSTyles/Mlinestyles/SEctionviewstyles/Tablestyles/Visualstyles/Regapps/Zero-length geometry/"
        "Empty text objects/Orphaned data/All]:";
    // product, entries after "_purge", the purge done, errors, a text in the first error
    const std::tuple<std::string, std::vector<std::string>, std::string, std::size_t, std::string> cases[] = {
        {"Cad14", {"_MA", "_LA", "*", "_N"}, "LAyers names=* verify=No", 1, r14},
        {"Cad2010", {"_MA", "*", "_N"}, "MAterials names=* verify=No", 0, ""},
        {"Cad2013", {"_E"}, "Empty text objects", 0, ""},
        {"Cad2007", {"_E", "_R", "", ""}, "Regapps names=* verify=Yes", 1, ""},
        {"Cad2004", {"_R", "_Plot", "ab*", "_Y"}, "Plotstyles names=ab* verify=Yes", 1, ""},
        {"Cad13", {"_P", "_ST", "", "_N"}, "STyles names=* verify=No", 1, ""},
        {"cadlt2018", {"_O"}, "Orphaned data", 0, ""},
        {"Cad2013", {"_O", "_G", "*", "_N"}, "Groups names=* verify=No", 1, ""},
        {"Bricscad", {"Regapps", "*", "No"}, "Regapps names=* verify=No", 0, ""},
        {"ZWCAD", {"_MA", "_Z", "_B", "*", "_N"}, "Blocks names=* verify=No", 2, ""},
        {"Cad2018", {"_textstyles", "*", "_n"}, "textSTyles names=* verify=No", 0, ""},
        {"Cad2018", {"STYLES", "*", "_n"}, "textSTyles names=* verify=No", 0, ""},
        {"Cad2018", {"_L", "_LT", "*", "_YES"}, "LTypes names=* verify=Yes", 1, r2018},
        {"Cad2018", {"_DE", "*", "_Maybe", "_N"}, "DEtailviewstyles names=* verify=No", 1, ""},
    };
    for (const auto& [product, entries, purged, errors, prompt] : cases) {
        std::vector<std::string> lines = {"_purge"};
        lines.insert(lines.end(), entries.begin(), entries.end());
        // The zoom after the purge must reach the command prompt, not a name or verify prompt.
        lines.insert(lines.end(), {"_Zoom", "1X", "_Quit", "_Y"});
        const HostRun result = runScript(lines, product);
        SCOPED_TRACE(product + " " + entries[0]);
        EXPECT_EQ(result.status, errors == 0 ? 0 : 1);
        ASSERT_EQ(result.trace({"error"}).size(), errors);
        EXPECT_EQ(result.trace({"purged", "zoom"}), (std::vector<std::string>{"purged:" + purged, "zoom:_Zoom"}));
        if (errors > 0) {
            EXPECT_NE(result.trace({"error"})[0].find(prompt), std::string::npos);
        }
    }
}

TEST_F(CadHostTest, ScriptLinesSplitAtSpacesAndNamesAreWindows1252)
{
    // An empty line repeats the last command; a last line without a line end is never typed, and the host is left
    // open, waiting.
    const std::string spaced = drawing("Plan \xE2\x82\xAC \xC3\xA9.dwg");
    const std::string path = toWindows1252(spaced); // the same name as Windows-1252 writes it
    m_tmp.write("Batch.scr", "; a comment line is not typed\r\n_Open \"" + path +
                                 "\" _Zoom\n0.5XP\r\n\r\n2\r_Close _Y _Quit");
    const std::string script = m_tmp.file("Batch.scr");
    const HostRun result = finish(spawn({"/b", script}), script + ".journal");
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.trace({"open", "opened", "zoom", "answer", "enter", "command", "close", "quit", "exit"}),
              (std::vector<std::string>{"open:_Open", "answer:open-name: \"" + spaced + "\"", "opened:read-write",
                                        "zoom:_Zoom", "answer:zoom: 0.5XP", "enter:repeats _Zoom", "zoom:_Zoom",
                                        "answer:zoom: 2", "close:_Close", "answer:discard-changes: _Y",
                                        "exit:0 unmodelled=0 left waiting"}));
    EXPECT_EQ(std::count_if(result.events.begin(), result.events.end(),
                            [](const auto& e) { return e.event == "zoom" && e.line == 4; }),
              1);
    EXPECT_EQ(result.trace({"untyped"}).size(), 1u);
}

TEST_F(CadHostTest, AnAutoLispErrorSuspendsTheScriptAndLeavesTheHostWaiting)
{
    const std::string a = drawing("A.dwg");
    const HostRun result =
        runScript({"_Open", "\"" + a + "\"", "(command \"_-plot\" \"_Maybe\")", "_Zoom", "_E", "_Quit", "_Y"});
    // The answer -PLOT refuses ends it, which AutoLISP reports as "Function cancelled": the script is suspended.
    EXPECT_EQ(result.status, 1);
    std::vector<std::string> names;
    for (const auto& e : result.events) {
        if (e.line == 3)
            names.push_back(e.event);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"lisp", "plot", "error", "cancelled", "error", "suspended"}));
    EXPECT_NE(result.errors().find("Function cancelled"), std::string::npos) << result.errors();
    EXPECT_EQ(result.events.back().detail, "1 unmodelled=0 left waiting");
    EXPECT_EQ(result.trace({"unread"}), std::vector<std::string>{"unread:4 line(s)"});
}

TEST_F(CadHostTest, ArgumentsAndExitStatus)
{
    const std::string script = writeScript({"_Quit"});
    using Strings = std::vector<std::string>;
    // arguments, exit status, the switch and exit events in the script's journal
    const std::tuple<Strings, int, Strings> cases[] = {
        {{"/p", "profile"}, 2, {}},
        {{"/b"}, 2, {}},
        {{"--product=Cad2099", "/b", script}, 2, {}},
        {{"/b", m_tmp.file("missing.scr")}, 2, {}},
        {{"/b", script, "/b", script}, 2, {}},
        {{"-b", script}, 0, {"exit:0 unmodelled=0"}},
        {{"/p", "profile", "/nologo", "--product=zwcad", "/B", script},
         0,
         {"switch:/p", "switch:profile", "switch:/nologo", "exit:0 unmodelled=0"}},
    };
    for (const auto& [args, status, events] : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        fs::remove(TempDir::toPath(script + ".journal"));
        const HostRun result = finish(spawn(args), script + ".journal");
        EXPECT_EQ(result.status, status);
        EXPECT_EQ(result.trace({"switch", "exit"}), events);
    }
}

TEST_F(CadHostTest, HoldsItsScriptSoThatTheLockProbeSeesIt)
{
    const std::string script = writeScript({"_Quit"});
    const testsupport::Child host = spawn({"/b", script}, 1000);
    int probed = 0; // 0 until the host holds its script
    for (int i = 0; i < 300 && (probed = qv::platform::probeForWriting(script)) == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(probed, 70);
    // Others may still read it, and the probe left it whole.
    EXPECT_EQ(m_tmp.read("Batch.scr"), "_Quit\r\n");
    EXPECT_EQ(finish(host, script + ".journal").status, 0);
    EXPECT_EQ(qv::platform::probeForWriting(script), 0);
}

// The stand-in's traces of a watched run: the lock file beside an open drawing, the faults a drawing asks for.
class CadHostTracesTest : public CadHostTest
{
protected:
    std::string faultyDrawing(const std::string& name, const std::string& firstLine)
    {
        m_tmp.write(name, firstLine + "\r\nDWG");
        return m_tmp.file(name);
    }
    bool exists(const std::string& name) const { return fs::exists(m_tmp.native(name)); }
    std::vector<std::string> lines(const std::string& a, const std::string& b) const
    {
        return {"_Zoom", "1X", "_Close", "_Y", "_Open", "\"" + a + "\"", "_Zoom", "1X", "_Close", "_Y",
                "_Open", "\"" + b + "\"", "_Zoom", "1X", "_Quit", "_Y"};
    }
};

TEST_F(CadHostTracesTest, ActsOutTheFaultOnTheDrawingsFirstLine)
{
    // B's first line, a normal exit (else abnormal), its status, B's lock file left behind, the last event
    const std::tuple<std::string, bool, int, bool, std::string> cases[] = {
        {"CADHOST tab=Model", true, 0, false, "exit"},
        {"CADHOST fault=slow:0.3", true, 0, false, "exit"},
        {"CADHOST fault=crash", false, 0, true, "opened"},
        {"CADHOST layouts=L1 fault=CRASH tab=L1", false, 0, true, "opened"},
        {"CADHOST fault=explode", true, 1, false, "exit"},
        {"CADHOST fault=slow:-1", true, 1, false, "exit"},
    };
    for (const auto& [firstLine, normal, status, lockLeft, last] : cases) {
        SCOPED_TRACE(firstLine);
        const std::string a = drawing("A.dwg");
        const std::string b = faultyDrawing("B.dwg", firstLine);
        fs::remove(m_tmp.native("B.dwl"));
        const auto started = std::chrono::steady_clock::now();
        const HostRun result = runScript(lines(a, b));
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (normal) {
            EXPECT_EQ(result.status, status) << result.errors();
        } else {
            EXPECT_TRUE(result.status < 0 || result.status > 3) << result.status;
        }
        EXPECT_FALSE(exists("A.dwl")); // closed before B was opened
        EXPECT_EQ(exists("B.dwl"), lockLeft);
        ASSERT_FALSE(result.events.empty());
        EXPECT_EQ(result.events.back().event, last);
        if (firstLine.find("slow:0.3") != std::string::npos) {
            EXPECT_GE(seconds, 0.3);
        }
        if (status == 1) {
            EXPECT_NE(result.errors().find("the drawing's fault: "), std::string::npos) << result.errors();
        }
    }
}

TEST_F(CadHostTracesTest, AHangKeepsTheDrawingOpenAndReadsNoMore)
{
    const std::string a = drawing("A.dwg");
    const std::string b = faultyDrawing("B.dwg", "CADHOST fault=hang");
    const std::string script = writeScript(lines(a, b));
    const testsupport::Child host = spawn({"/b", script});
    // The lock appears when B is open; from then on the host does nothing more.
    for (int i = 0; i < 500 && !exists("B.dwl"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(exists("B.dwl"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    testsupport::endChild(host);
    const HostRun result = finish(host, script + ".journal");
    EXPECT_NE(result.status, 0);
    EXPECT_EQ(result.trace({"opened", "zoom", "exit"}),
              (std::vector<std::string>{"zoom:_Zoom", "opened:read-write", "zoom:_Zoom", "opened:read-write"}));
    EXPECT_TRUE(exists("B.dwl"));
}

TEST_F(CadHostTracesTest, KeepsTheCommandLineLogWhileItIsOn)
{
    fs::create_directory(m_tmp.native("logs"));
    testsupport::setEnvironment("CADHOST_LOGFILEPATH", m_tmp.file("logs"));
    // LOGFILEMODE, the script turns the log on, A's log is kept
    const std::tuple<std::string, bool, bool> cases[] = {
        {"", true, true}, {"1", false, true}, {"", false, false}, {"0", false, false}};
    for (const auto& [mode, logFileOn, kept] : cases) {
        SCOPED_TRACE(mode + (logFileOn ? " LOGFILEON" : ""));
        fs::remove_all(m_tmp.native("logs"));
        fs::create_directory(m_tmp.native("logs"));
        testsupport::setEnvironment("CADHOST_LOGFILEMODE", mode);
        const std::string a = drawing("A.dwg");
        std::vector<std::string> script = {"_Zoom", "1X", "_Close", "_Y", "_Open", "\"" + a + "\"", "_Y",
                                           "_Zoom", "1X", "_Quit",  "_Y"};
        if (logFileOn)
            script.insert(script.begin(), "_LOGFILEON");
        const HostRun result = runScript(script);
        EXPECT_EQ(result.status, 1);
        const std::string log = m_tmp.file("logs" + std::string(1, fs::path::preferred_separator) + "A.log");
        EXPECT_EQ(fs::exists(TempDir::toPath(log)), kept);
        if (kept) {
            std::ifstream in(TempDir::toPath(log), std::ios::binary);
            const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            EXPECT_EQ(text, "Unknown command \"Y\".  Press F1 for help.\r\n"
                            "Command: _Zoom\r\n"
                            "Specify corner of window, enter a scale factor (nX or nXP), or "
                            "[All/Center/Dynamic/Extents/Previous/Scale/Window/Object] <real time>: 1X\r\n"
                            "Command: _Quit\r\n"
                            "Really want to discard all changes to drawing? <N> _Y\r\n");
        }
    }
    testsupport::setEnvironment("CADHOST_LOGFILEMODE", "");
    testsupport::setEnvironment("CADHOST_LOGFILEPATH", "");
}

} // namespace
