#include "HostModel.h"
#include "batch/ScriptWriter.h"
#include "support/PlainScriptInputs.h"
#include "support/TempDir.h"
#include "text/Paths.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

const std::string kSep(1, pathSeparator());

ScriptInputs watchedInputs(const std::string& folder, std::size_t drawings, SupervisedScript supervised)
{
    DrawingRows rows;
    for (std::size_t i = 0; i < drawings; ++i)
        rows.push_back({std::string(1, static_cast<char>('A' + i)) + ".dwg", folder, "Regen", ""});
    ScriptInputs in = plainScriptInputs(std::move(rows), folder, [](const std::string&) { return "_Regen"; });
    in.supervised = std::move(supervised);
    return in;
}

std::string build(const ScriptInputs& in, ScriptWriterKind kind = ScriptWriterKind::General)
{
    auto script = buildScript(in, kind);
    EXPECT_TRUE(script.ok()) << (script.ok() ? "" : script.error().description);
    return script.ok() ? script.value().bytes : std::string();
}

TEST(SupervisedScript, WritesProgressLinesAroundEachDrawingOfItsRange)
{
    const ScriptInputs in = watchedInputs("D", 3, {1, 1, "R", true});
    const std::string r = kSep == "\\" ? "R\\\\" : "R/"; // an AutoLISP string doubles each backslash
    EXPECT_EQ(build(in), "_LOGFILEON\r\n"
                         "_Zoom\r\n0.999x\r\n_Close\r\n_Y\r\n"
                         "_Open\r\n\"D" +
                             kSep +
                             "B.dwg\"\r\n"
                             "((lambda (f) (write-line \"2 begun\" f) (if f (close f))) (open \"" +
                             r +
                             "drawing-2.begun\" \"w\"))\r\n"
                             "_Regen\r\n"
                             "((lambda (f) (write-line \"2 done\" f) (if f (close f))) (open \"" +
                             r +
                             "drawing-2.done\" \"w\"))\r\n"
                             "_Zoom\r\n0.999x\r\n_Quit\r\n_Y\r\n"
                             "_Quit\r\n");
}

TEST(SupervisedScript, CoversTheOpeningsAskedFor)
{
    // first, openings, collated sets, the drawings opened in order, the one the host quits on
    const std::tuple<std::size_t, std::size_t, int, std::string> cases[] = {
        {0, 0, 1, "ABC"}, {0, 2, 1, "AB"}, {2, 0, 1, "C"}, {2, 5, 1, "C"},
        {1, 3, 2, "BCA"}, {4, 0, 2, "BC"}, {5, 1, 2, "C"}, {6, 0, 1, ""},
    };
    for (const auto& [first, openings, sets, order] : cases) {
        ScriptInputs in = watchedInputs("D", 3, {first, openings, "", false});
        in.sequenceText = std::to_string(sets);
        in.collate = true;
        SCOPED_TRACE(std::to_string(first) + "+" + std::to_string(openings) + " x" + std::to_string(sets));
        const std::string script = build(in);
        std::string opened;
        for (std::size_t at = script.find("_Open\r\n\"D"); at != std::string::npos;
             at = script.find("_Open\r\n\"D", at + 1))
            opened += script[at + 9 + kSep.size()];
        EXPECT_EQ(opened, order);
        // Only the last drawing of the range quits; an empty range holds nothing but the final quit.
        EXPECT_EQ(script.find("_Quit\r\n_Y") == std::string::npos, order.empty());
        EXPECT_EQ(script.find("_Close\r\n_Y", script.find("_Quit\r\n_Y")), std::string::npos);
        EXPECT_TRUE(script.ends_with("_Quit\r\n"));
        EXPECT_EQ(script.find("lambda"), std::string::npos); // no AutoLISP without a progress folder
    }
}

TEST(SupervisedScript, TheHostModelRunsItAndTheProgressFilesAppear)
{
    // product, writer, the progress files each drawing leaves
    const std::tuple<const char*, ScriptWriterKind, bool> cases[] = {
        {"Cad2018", ScriptWriterKind::General, true},    {"Cad2000", ScriptWriterKind::General, true},
        {"Bricscad", ScriptWriterKind::Bricscad, true},  {"ZWCAD", ScriptWriterKind::Zwcad, true},
        {"CadLT2018", ScriptWriterKind::General, false}, // no AutoLISP: the lock file is the signal
    };
    for (const auto& [code, kind, lisp] : cases) {
        SCOPED_TRACE(code);
        TempDir dir;
        for (const char* name : {"A.dwg", "B.dwg", "C.dwg"})
            dir.write(name, "DWG");
        const std::string run = dir.file("Run 1");
        std::filesystem::create_directory(dir.native("Run 1"));
        const std::string script = build(watchedInputs(dir.path(), 3, {1, 0, lisp ? run : std::string(), true}), kind);

        hostmodel::HostSetup setup;
        setup.product = *hostmodel::findProduct(code);
        int errors = 0;
        std::vector<std::string> opened;
        const hostmodel::HostOutcome outcome =
            hostmodel::runHostScript(script, setup, [&](const hostmodel::HostEvent& event) {
                errors += event.event == "error";
                if (event.event == "opened")
                    opened.push_back(event.drawing);
            });
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(errors, 0);
        EXPECT_FALSE(outcome.leftWaiting);
        EXPECT_EQ(opened, (std::vector<std::string>{dir.file("B.dwg"), dir.file("C.dwg")}));
        EXPECT_EQ(outcome.unmodelled, 1); // LOGFILEON, which the model takes on trust
        for (const char* name : {"drawing-2.begun", "drawing-2.done", "drawing-3.begun", "drawing-3.done"})
            EXPECT_EQ(std::filesystem::exists(dir.native("Run 1") / name), lisp) << name;
        if (lisp) {
            EXPECT_EQ(dir.read("Run 1" + kSep + "drawing-3.done"), "3 done\r\n");
        }
        EXPECT_FALSE(std::filesystem::exists(dir.native("Run 1") / "drawing-1.begun"));
    }
}

TEST(SupervisedScript, GoesToTheRunFolderUnderItsOwnName)
{
    TempDir dir;
    ScriptInputs in = watchedInputs(dir.path(), 2, {1, 0, dir.path(), false});
    in.scriptFolder = dir.path() + kSep;
    const ScriptResult result = writeBatchScript(
        in, ScriptWriterKind::General, [](const std::string&) { return 0; }, noQuestions());
    EXPECT_TRUE(result.written && result.launch);
    EXPECT_EQ(result.path, dir.file("Batch-0002.scr"));
    EXPECT_EQ(dir.read("Batch-0002.scr"), build(in));
    EXPECT_FALSE(std::filesystem::exists(dir.native("Batch.scr")));
    EXPECT_EQ(supervisedScriptName(11233), "Batch-11234.scr");

    // A script a host still holds is never written over.
    const ScriptResult held = writeBatchScript(
        in, ScriptWriterKind::General, [](const std::string&) { return 70; }, noQuestions());
    EXPECT_FALSE(held.launch);
    ASSERT_EQ(held.messages.size(), 1u);

    // A run folder that an AutoLISP string cannot hold is refused before anything is written.
    in.supervised->progressFolder = dir.path() + kSep + "a\"b";
    EXPECT_FALSE(buildScript(in, ScriptWriterKind::General).ok());
}

} // namespace
} // namespace qv
