// Runs the stand-in CAD host on scripts written to a temporary folder and checks its journal, exit status
// and what it did to the drawing files.

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Event
{
    int line = 0;
    std::string event;
    std::string drawing;
    std::string detail;
};

struct HostRun
{
    int status = -1;
    std::vector<Event> journal;

    std::vector<Event> only(const std::string& event) const
    {
        std::vector<Event> found;
        for (const Event& e : journal) {
            if (e.event == event) {
                found.push_back(e);
            }
        }
        return found;
    }

    // "event:detail" of the events whose name is in the list, in journal order.
    std::vector<std::string> trace(const std::vector<std::string>& events) const
    {
        std::vector<std::string> found;
        for (const Event& e : journal) {
            if (std::find(events.begin(), events.end(), e.event) != events.end()) {
                found.push_back(e.event + ":" + e.detail);
            }
        }
        return found;
    }
};

constexpr timespec kOldTime = {1000000000, 0};

class CadHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "cadhost_test.XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }

    void TearDown() override
    {
        for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        }
        fs::remove_all(dir_);
    }

    // A drawing file with known bytes and an old modification time, so that a save shows.
    std::string drawing(const std::string& name, bool readOnly = false, const std::string& bytes = "DWG")
    {
        std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        const timespec times[2] = {kOldTime, kOldTime};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
        if (readOnly) {
            ::chmod(path.c_str(), 0444);
        }
        return path;
    }

    std::string writeScriptText(const std::string& text)
    {
        std::string path = (dir_ / "Batch.scr").string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    std::string writeScript(const std::vector<std::string>& lines)
    {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
        return writeScriptText(text);
    }

    pid_t spawn(const std::vector<std::string>& args, int holdMs = 0)
    {
        const pid_t pid = ::fork();
        if (pid == 0) {
            std::vector<char*> argv{const_cast<char*>(CADHOST_PATH)};
            for (const std::string& arg : args) {
                argv.push_back(const_cast<char*>(arg.c_str()));
            }
            argv.push_back(nullptr);
            ::setenv("CADHOST_HOLD_MS", std::to_string(holdMs).c_str(), 1);
            ::unsetenv("CADHOST_PRODUCT");
            ::unsetenv("CADHOST_JOURNAL");
            ::chdir(dir_.c_str());
            ::execv(CADHOST_PATH, argv.data());
            ::_exit(127);
        }
        return pid;
    }

    HostRun finish(pid_t pid, const std::string& journalPath)
    {
        HostRun run;
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream in(journalPath);
        for (std::string line; std::getline(in, line);) {
            std::stringstream fields(line);
            Event e;
            std::string number;
            std::getline(fields, number, '\t');
            std::getline(fields, e.event, '\t');
            std::getline(fields, e.drawing, '\t');
            std::getline(fields, e.detail);
            e.line = std::stoi(number);
            run.journal.push_back(e);
        }
        return run;
    }

    HostRun runScript(const std::vector<std::string>& lines, const std::string& product = "Cad2018")
    {
        const std::string script = writeScript(lines);
        return finish(spawn({"--product=" + product, "/b", script}), script + ".journal");
    }

    fs::path dir_;
};

bool modifiedSinceSetUp(const std::string& path)
{
    struct stat status = {};
    return ::stat(path.c_str(), &status) == 0 && status.st_mtim.tv_sec != kOldTime.tv_sec;
}

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(CadHostTest, BatchOfTwoDrawingsOpensRunsRoutinesSavesAndQuits)
{
    const std::string a = drawing("A.dwg");
    const std::string b = drawing("B.dwg");
    const std::vector<std::string> routine = {"_purge", "_LA", "*", "_N", "_purge", "_E", "_-plot", "_Qsave"};
    std::vector<std::string> lines = {"_Zoom", "0.999x", "_Close", "_Y", "_Open", "\"" + a + "\""};
    lines.insert(lines.end(), routine.begin(), routine.end());
    lines.insert(lines.end(), {"_Zoom", "0.999x", "_Close", "_Y", "_Open"});
    lines.push_back("\"" + b + "\"");
    lines.insert(lines.end(), routine.begin(), routine.end());
    lines.insert(lines.end(), {"_Zoom", "0.999x", "_Quit", "_Y", "_Quit"});

    const HostRun result = runScript(lines);

    EXPECT_EQ(result.status, 0);
    const std::vector<std::string> perDrawing = {
        "opened:read-write", "purged:LAyers names=* verify=No", "purged:Empty text objects",
        "command:_-plot",    "saved:modification time set",     "saved:modification time set",
    };
    std::vector<std::string> expected = {"saved:start-up drawing, not written", "closed:saved"};
    expected.insert(expected.end(), perDrawing.begin(), perDrawing.end());
    expected.push_back("closed:saved");
    expected.insert(expected.end(), perDrawing.begin(), perDrawing.end());
    expected.insert(expected.end(), {"closed:saved", "unread:1 line(s)", "exit:0"});
    EXPECT_EQ(result.trace({"opened", "purged", "command", "saved", "closed", "unread", "error", "exit"}), expected);
    EXPECT_EQ(result.only("opened").at(0).drawing, a);
    EXPECT_EQ(result.only("opened").at(1).drawing, b);
    EXPECT_EQ(result.only("answer").at(0).detail, "zoom: 0.999x");
    EXPECT_EQ(result.only("answer").at(2).detail, "open-name: \"" + a + "\"");
    EXPECT_EQ(result.only("answer").at(2).line, 6);
    EXPECT_TRUE(modifiedSinceSetUp(a));
    EXPECT_TRUE(modifiedSinceSetUp(b));
    EXPECT_EQ(contents(a), "DWG");
}

TEST_F(CadHostTest, ReadOnlyDrawingNeedsItsAnswerAndIsNeverSaved)
{
    struct Case
    {
        std::vector<std::string> answer;
        std::vector<std::string> opened;
        int errors;
    };
    // Without an answer the routine's own lines meet the read-only question: each is rejected until "_N".
    const Case cases[] = {
        {{"_Y"}, {"opened:read-only"}, 1},
        {{""}, {"opened:read-only"}, 1},
        {{}, {}, 5},
    };
    for (const Case& c : cases) {
        const std::string b = drawing("B.dwg", true);
        std::vector<std::string> lines = {"_Zoom", "0.999x", "_Close", "_Y", "_Open", "\"" + b + "\""};
        lines.insert(lines.end(), c.answer.begin(), c.answer.end());
        lines.insert(lines.end(), {"_purge", "_LA", "*", "_N", "_Zoom", "0.999x", "_Quit", "_Y", "_Quit"});
        const HostRun result = runScript(lines);
        SCOPED_TRACE(c.answer.empty() ? "no answer" : "answer '" + c.answer[0] + "'");
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.trace({"opened"}), c.opened);
        EXPECT_EQ(result.only("error").size(), static_cast<std::size_t>(c.errors));
        EXPECT_FALSE(modifiedSinceSetUp(b));
        if (c.answer.empty()) {
            EXPECT_EQ(result.only("error").at(0).detail.rfind("open-readonly: _purge: Invalid option keyword.", 0), 0U);
        } else {
            EXPECT_NE(result.only("error").at(0).detail.find("write protected"), std::string::npos);
            EXPECT_EQ(result.trace({"closed"}).back(), "closed:changes discarded");
        }
    }
}

TEST_F(CadHostTest, MissingDrawingLeavesTheHostWithoutDrawing)
{
    const HostRun result =
        runScript({"_Zoom", "0.999x", "_Close", "_Y", "_Open", "\"" + (dir_ / "none.dwg").string() + "\"", "_Qsave",
                   "_Zoom", "0.999x", "_Quit", "_Y", "_Quit"});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.only("opened").empty());
    // The open error, then "_Qsave", "_Zoom" and "0.999x" with no drawing; "_Quit" exits at once.
    ASSERT_EQ(result.only("error").size(), 4U);
    EXPECT_NE(result.only("error")[0].detail.find("Cannot find"), std::string::npos);
    EXPECT_EQ(result.only("error")[1].detail, "command: _Qsave: No drawing is open. (Command:)");
    EXPECT_EQ(result.only("unread").at(0).detail, "2 line(s)");
}

TEST_F(CadHostTest, PurgeTypesFollowTheRelease)
{
    struct Case
    {
        std::string product;
        std::vector<std::string> entries;
        std::string purged;
        std::size_t errors;
    };
    const Case cases[] = {
        {"Cad14", {"_MA", "_LA", "*", "_N"}, "LAyers names=* verify=No", 1},
        {"Cad2010", {"_MA", "*", "_N"}, "MAterials names=* verify=No", 0},
        {"Cad2013", {"_E"}, "Empty text objects", 0},
        {"Cad2007", {"_E", "_R", "", ""}, "Regapps names=* verify=Yes", 1},
        {"Cad2004", {"_R", "_Plot", "ab*", "_Y"}, "Plotstyles names=ab* verify=Yes", 1},
        {"Cad13", {"_P", "_ST", "", "_N"}, "STyles names=* verify=No", 1},
        {"cadlt2018", {"_O"}, "Orphaned data", 0},
        {"Cad2013", {"_O", "_G", "*", "_N"}, "Groups names=* verify=No", 1},
        {"Bricscad", {"Regapps", "*", "No"}, "Regapps names=* verify=No", 0},
        {"ZWCAD", {"_MA", "_Z", "_B", "*", "_N"}, "Blocks names=* verify=No", 2},
        {"Cad2018", {"_textstyles", "*", "_n"}, "textSTyles names=* verify=No", 0},
        {"Cad2018", {"STYLES", "*", "_n"}, "textSTyles names=* verify=No", 0},
        {"Cad2018", {"_L", "_LT", "*", "_YES"}, "LTypes names=* verify=Yes", 1},
        {"Cad2018", {"_DE", "*", "_Maybe", "_N"}, "DEtailviewstyles names=* verify=No", 1},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = {"_purge"};
        lines.insert(lines.end(), c.entries.begin(), c.entries.end());
        // The zoom after the purge must reach the command prompt, not a name or verify prompt.
        lines.insert(lines.end(), {"_Zoom", "1X", "_Quit", "_N"});
        const HostRun result = runScript(lines, c.product);
        SCOPED_TRACE(c.product + " " + c.entries[0]);
        EXPECT_EQ(result.status, c.errors == 0 ? 0 : 1);
        EXPECT_EQ(result.only("error").size(), c.errors);
        EXPECT_EQ(result.trace({"purged", "zoom"}), (std::vector<std::string>{"purged:" + c.purged, "zoom:_Zoom"}));
    }
}

TEST_F(CadHostTest, PurgeTypePromptNamesTheReleaseList)
{
    const HostRun r14 = runScript({"_purge", "_MA", "_B", "", "", "_Quit", "_N"}, "Cad14");
    ASSERT_EQ(r14.only("error").size(), 1U);
    EXPECT_NE(r14.only("error")[0].detail.find("(Purge unused Blocks/Dimstyles/LAyers/LTypes/SHapes/STyles/"
                                               "Mlinestyles/All:)"),
              std::string::npos);
    const HostRun r2018 = runScript({"_purge", "_X", "_B", "", "", "_Quit", "_N"}, "Cad2018");
    ASSERT_EQ(r2018.only("error").size(), 1U);
    EXPECT_NE(r2018.only("error")[0].detail.find(
                  "[Blocks/DEtailviewstyles/Dimstyles/Groups/LAyers/LTypes/MAterials/MUltileaderstyles/Plotstyles/"
                  "SHapes/textSTyles/Mlinestyles/SEctionviewstyles/Tablestyles/Visualstyles/Regapps/Zero-length "
                  "geometry/Empty text objects/Orphaned data/All]:"),
              std::string::npos);
}

TEST_F(CadHostTest, SaveQuestionTakesOnlyYesOrNo)
{
    struct Case
    {
        std::vector<std::string> answers;
        std::size_t errors;
        std::string closed;
        bool saved;
    };
    const Case cases[] = {
        {{"_Y"}, 0, "closed:saved", true},
        {{"yes"}, 0, "closed:saved", true},
        {{""}, 0, "closed:saved", true},
        {{"_N"}, 0, "closed:changes discarded", false},
        {{"_Open", "0.999x", "_No"}, 2, "closed:changes discarded", false},
        {{"_Maybe", "_Y"}, 1, "closed:saved", true},
    };
    for (const Case& c : cases) {
        const std::string a = drawing("A.dwg");
        std::vector<std::string> lines = {"_Open", "\"" + a + "\"", "_Zoom", "_E", "_Close"};
        lines.insert(lines.end(), c.answers.begin(), c.answers.end());
        lines.emplace_back("_Quit");
        const HostRun result = runScript(lines);
        SCOPED_TRACE(c.answers[0]);
        EXPECT_EQ(result.status, c.errors == 0 ? 0 : 1);
        EXPECT_EQ(result.only("error").size(), c.errors);
        EXPECT_EQ(result.trace({"closed"}).at(0), c.closed);
        EXPECT_EQ(modifiedSinceSetUp(a), c.saved);
    }
}

TEST_F(CadHostTest, QuitAsksAboutTheCurrentDrawingFirst)
{
    const std::string a = drawing("A.dwg");
    const std::string b = drawing("B.dwg");
    const HostRun result =
        runScript({"_Open", a, "_Zoom", "2x", "_Open", b, "_Zoom", "1,1", "5,5", "_Quit", "_N", "_Y"});
    EXPECT_EQ(result.status, 0);
    ASSERT_EQ(result.only("closed").size(), 3U);
    EXPECT_EQ(result.only("closed")[0].drawing, b);
    EXPECT_EQ(result.only("closed")[1].drawing, a);
    EXPECT_EQ(result.only("closed")[2].detail, "unmodified");
    EXPECT_FALSE(modifiedSinceSetUp(b));
    EXPECT_TRUE(modifiedSinceSetUp(a));
}

TEST_F(CadHostTest, SaveAsCopiesTheDrawingUnderItsNewName)
{
    const std::string a = drawing("A.dwg", false, "ALPHA");
    const std::string b = drawing("B.dwg", false, "BETA");
    const std::string c = (dir_ / "C.dwg").string();
    const HostRun result = runScript({"_Open", a, "_Saveas", "2013", "\"" + c + "\"", "_Saveas", "", b, "", "Saveas",
                                      "_lt2018", b, "_Y", "_Saveas", "R12", "DXF", "", "_Quit"},
                                     "CadLT2018");
    EXPECT_EQ(result.status, 1);
    ASSERT_EQ(result.only("error").size(), 1U);
    EXPECT_NE(result.only("error")[0].detail.find("saveas-format: R12"), std::string::npos);
    EXPECT_EQ(contents(c), "ALPHA");
    EXPECT_EQ(contents(b), "ALPHA");
    EXPECT_EQ(result.trace({"saved"}),
              (std::vector<std::string>{"saved:written as a copy of " + a, "saved:written as a copy of " + c,
                                        "saved:modification time set"}));
    EXPECT_EQ(result.only("closed").at(0).drawing, b);

    // The start-up drawing has no name yet, so QSAVE asks for one.
    const std::string named = (dir_ / "Named.dwg").string();
    const HostRun qsave = runScript({"_Qsave", named, "_Quit"});
    EXPECT_EQ(qsave.status, 0);
    EXPECT_EQ(qsave.trace({"answer", "saved"}),
              (std::vector<std::string>{"answer:saveas-name: " + named, "saved:written empty (start-up drawing)"}));
    EXPECT_TRUE(fs::exists(named));
}

TEST_F(CadHostTest, ScriptLinesSplitAtSpacesOutsideQuotes)
{
    const std::string spaced = drawing("Plan \xE2\x82\xAC \xC3\xA9.dwg");
    std::string path = spaced;
    path.replace(path.size() - 10, 6, "\x80 \xE9"); // the same name as Windows-1252 writes it
    const std::string script = writeScriptText("; a comment line is not typed\r\n_Open \"" + path +
                                               "\" _Zoom\n0.5XP\r\n\r\n_Zoom 2 \r\n_Close _N _Quit");
    const HostRun result = finish(spawn({"/b", script}), script + ".journal");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.only("opened").at(0).drawing, spaced);
    EXPECT_EQ(result.trace({"open", "zoom", "answer", "enter", "command", "close", "quit"}),
              (std::vector<std::string>{"open:_Open", "answer:open-name: \"" + spaced + "\"", "zoom:_Zoom",
                                        "answer:zoom: 0.5XP", "enter:", "zoom:_Zoom", "answer:zoom: 2",
                                        "enter:", "close:_Close", "answer:save-changes: _N", "quit:_Quit"}));
    EXPECT_EQ(result.only("zoom").at(1).line, 5);
}

TEST_F(CadHostTest, ArgumentsAndExitStatus)
{
    struct Case
    {
        std::vector<std::string> args;
        int status;
    };
    const std::string script = writeScript({"_Quit"});
    const Case cases[] = {
        {{}, 2},
        {{"/p", "profile"}, 2},
        {{"/b"}, 2},
        {{"--product=Cad2099", "/b", script}, 2},
        {{"/b", (dir_ / "missing.scr").string()}, 2},
        {{"/b", script, "/b", script}, 2},
        {{"/b", script}, 0},
        {{"-b", script}, 0},
        {{"/p", "profile", "/nologo", "--product=zwcad", "/B", script}, 0},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const std::string& arg : c.args) {
            joined += arg + " ";
        }
        SCOPED_TRACE(joined);
        fs::remove(script + ".journal");
        const HostRun result = finish(spawn(c.args), script + ".journal");
        EXPECT_EQ(result.status, c.status);
        if (c.status == 0) {
            EXPECT_EQ(result.journal.back().event, "exit");
            EXPECT_EQ(result.journal.back().detail, "0");
        }
    }
    const HostRun switches = finish(spawn({"/p", "profile", "/b", script}), script + ".journal");
    EXPECT_EQ(switches.trace({"switch"}), (std::vector<std::string>{"switch:/p", "switch:profile"}));
}

TEST_F(CadHostTest, HoldsASharedLockOnTheScriptWhileRunning)
{
    const std::string script = writeScript({"_Quit"});
    const pid_t pid = spawn({"/b", script}, 1000);
    bool exclusiveRefused = false;
    bool sharedGranted = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!exclusiveRefused && std::chrono::steady_clock::now() < deadline) {
        const int fd = ::open(script.c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            exclusiveRefused = true;
            sharedGranted = ::flock(fd, LOCK_SH | LOCK_NB) == 0;
        } else {
            ::flock(fd, LOCK_UN);
        }
        ::close(fd);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const HostRun result = finish(pid, script + ".journal");
    EXPECT_TRUE(exclusiveRefused);
    EXPECT_TRUE(sharedGranted);
    EXPECT_EQ(result.status, 0);
    const int fd = ::open(script.c_str(), O_RDONLY);
    EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    ::close(fd);
}

} // namespace
