#include "batch/LaunchCommand.h"

#include "batch/WindowsCommandLine.h"
#include "text/Paths.h"

#include <gtest/gtest.h>
#include <tuple>

namespace qv {
namespace {

TEST(LaunchCommand, EveryRowNeedsARoutineAndTheMessageNamesTheDrawingsWithout)
{
    EXPECT_FALSE(checkEveryDrawingAssigned({}).has_value());
    EXPECT_FALSE(checkEveryDrawingAssigned({{"a.dwg", "F", "Plot", ""}, {"b.dwg", "F", " ", ""}}).has_value());
    const auto one = checkEveryDrawingAssigned({{"a.dwg", "F", "Plot", ""}, {"b.dwg", "F", "", ""}});
    ASSERT_TRUE(one.has_value());
    EXPECT_EQ(*one, (UserMessage{"Please Assign a Routine To All Files\r\n\r\nThis drawing has no routine:\r\n" +
                                     joinPath("F", "b.dwg") +
                                     "\r\n\r\nSelect them in the list, choose a routine and press \"Assign "
                                     "Routine to Files\", then start again.",
                                 "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok}));
    // The first 20 are named, then how many more.
    DrawingRows many;
    for (int i = 1; i <= 22; ++i)
        many.push_back({"d" + std::to_string(i) + ".dwg", "F", "", ""});
    const std::string text = checkEveryDrawingAssigned(many)->text;
    EXPECT_NE(text.find("These 22 drawings have no routine:\r\n" + joinPath("F", "d1.dwg") + "\r\n"),
              std::string::npos);
    EXPECT_NE(text.find(joinPath("F", "d20.dwg") + "\r\n... and 2 more.\r\n"), std::string::npos);
}

// Which routines are missing is MissingRoutinesAreGroupedInTheOrderOfFirstUse's; this is how the run is refused.
TEST(LaunchCommand, RoutinesNoLongerInTheDatabaseStopTheRunBeforeItStarts)
{
    const UserMessage message = missingRoutinesBeforeRunMessage({{"Gone", {"b.dwg", "f.dwg"}}, {"Renamed", {"g.dwg"}}});
    EXPECT_EQ(message,
              (UserMessage{"These routines are no longer in the routine database, so the batch has not been "
                           "started:\r\n\r\n\"Gone\", used by b.dwg, f.dwg\r\n\"Renamed\", used by g.dwg\r\n\r\n"
                           "Assign a routine from the routine list to these drawings, then start again.",
                           "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok}));

    // A long list is cut short, with the count of the rest.
    std::vector<MissingRoutine> many;
    for (int i = 0; i < 12; ++i)
        many.push_back({"R" + std::to_string(i), {"1.dwg", "2.dwg", "3.dwg", "4.dwg", "5.dwg", "6.dwg", "7.dwg"}});
    const std::string text = missingRoutinesBeforeRunMessage(many).text;
    EXPECT_NE(text.find("\"R0\", used by 1.dwg, 2.dwg, 3.dwg, 4.dwg, 5.dwg and 2 more drawings\r\n"),
              std::string::npos);
    EXPECT_EQ(text.find("\"R10\""), std::string::npos);
    EXPECT_NE(text.find("... and 2 more routines."), std::string::npos);
}

// A list longer than the index's look-ahead is RoutineCatalogue.IndexOfALargeCatalogueFindsEveryDescriptionOnce's.
TEST(LaunchCommand, MissingRoutinesAreGroupedInTheOrderOfFirstUse)
{
    const RoutineIndex index(RoutineList{makeRoutineForAdd("Kept", "_Zoom", false)});
    const DrawingRows rows = {{"1.dwg", "F", "Gone", ""},
                              {"2.dwg", "F", "Kept", ""},
                              {"3.dwg", "F", "Combined Routines...", ""},
                              {"4.dwg", "F", "convert dxf to a drawing r14", ""},
                              {"5.dwg", "F", "", ""},
                              {"6.dwg", "F", "kept", ""},
                              {"7.dwg", "F", "Gone", ""}};
    using Missing = std::vector<MissingRoutine>;
    EXPECT_EQ(findMissingRoutines(rows, index, true), (Missing{{"Gone", {"1.dwg", "7.dwg"}}, {"kept", {"6.dwg"}}}));
    EXPECT_EQ(findMissingRoutines(rows, index, false),
              (Missing{{"Gone", {"1.dwg", "7.dwg"}}, {"Combined Routines...", {"3.dwg"}}, {"kept", {"6.dwg"}}}));
}

TEST(LaunchCommand, ConfirmationLinesEndWithLineFeedsAlone)
{
    const UserMessage message = confirmStartMessage();
    EXPECT_EQ(message.title, "Confirm Starting Acad");
    EXPECT_EQ(message.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(message.text, "WARNING\nThe operation is about to begin. You are responsible for the results \n"
                            "you are about to initiate on your files. Always make sure your code \n"
                            "operates as you expect it to before continuing.\n\n"
                            "Please remember once the drawing file is closed you cannot undo\n"
                            "saved changes. Always keep backups of your drawing files.\n\n");
}

TEST(LaunchCommand, WriterChoice)
{
    // Which codes are BricsCAD's or ZWCAD's, in any case, is CadProducts.LookupIgnoresCaseButFamiliesAndLabelsDoNot's.
    const std::tuple<bool, const char*, ScriptWriterKind> cases[] = {
        {true, "Bricscad", ScriptWriterKind::General},   {true, "ZWCAD", ScriptWriterKind::General},
        {false, "Bricscad", ScriptWriterKind::Bricscad}, {false, "zwcad", ScriptWriterKind::Zwcad},
        {false, "Cad2018", ScriptWriterKind::General},
    };
    for (const auto& [confirm, code, kind] : cases)
        EXPECT_EQ(chooseScriptWriter(confirm, code), kind) << confirm << " " << code;
}

TEST(LaunchCommand, RequestFromTheSettings)
{
    const std::string script = R"(C:\Scripts\Batch1.scr)";
    const std::pair<LaunchSettings, LaunchRequest> cases[] = {
        {{"C:\\Acad\\acad.exe", "Normal", "NoSwitch", "/p x"},
         {"C:\\Acad\\acad.exe", "/b \"C:\\Scripts\\Batch1.scr\"", " ", 1}},
        {{"acad", "Minimized", "YesSwitch", " /nologo /p \"My Profile\" "},
         {"acad", " /nologo /p \"My Profile\"  /b \"C:\\Scripts\\Batch1.scr\"", " ", 2}},
        {{"acad", "Maximised", "YesSwitch", ""}, {"acad", " /b \"C:\\Scripts\\Batch1.scr\"", " ", 3}},
        {{"acad", "Maximized", "yesswitch", "/nologo"}, {"acad", "/b \"C:\\Scripts\\Batch1.scr\"", " ", 1}},
        {{"Unknown", "Unknown", "Unknown", ""}, {"Unknown", "/b \"C:\\Scripts\\Batch1.scr\"", " ", 1}},
    };
    for (const auto& [settings, expected] : cases)
        EXPECT_EQ(buildLaunchRequest(settings, script), expected) << settings.windowState;
}

TEST(LaunchCommand, ParametersSplitBackIntoTheSwitchesBAndTheScriptPath)
{
    const std::string paths[] = {R"(C:\Scripts\Batch.scr)", R"(/tmp/a"b/Batch.scr)",    R"(/tmp/x\"y/Batch1.scr)",
                                 R"(C:\odd dir\)",          R"(/tmp/q""/ "/Batch.scr)", ""};
    const std::string switches[] = {"", "/nologo", R"( /p "My Profile" )", R"(/p "a\" b")", R"(/p C:\dir\ /t x)"};
    for (const std::string& path : paths) {
        for (const std::string& switchText : switches) {
            ASSERT_FALSE(checkSwitchText("YesSwitch", switchText)) << switchText;
            std::vector<std::string> expected = splitWindowsCommandLine(switchText);
            expected.insert(expected.end(), {"/b", path});
            EXPECT_EQ(splitWindowsCommandLine(buildLaunchParameters("YesSwitch", switchText, path)), expected)
                << switchText << " | " << path;
        }
    }
}

TEST(LaunchCommand, AnOpenQuoteInTheSwitchTextIsRefusedBeforeTheStart)
{
    for (const std::string switchText : {R"(/p "My Profile)", R"(/p "C:\dir\")", R"("a""b)", "\""}) {
        const LaunchSettings settings{"acad", "Normal", "YesSwitch", switchText};
        int calls = 0;
        const auto message = startHost(settings, "/s/Batch.scr", [&calls](const LaunchRequest&) {
            ++calls;
            return 42;
        });
        ASSERT_TRUE(message.has_value()) << switchText;
        EXPECT_EQ(calls, 0);
        EXPECT_TRUE(message->text.starts_with("The startup switch text has a double quote that is not closed"));
        EXPECT_NE(message->text.find("\r\n" + switchText + "\r\n"), std::string::npos);
        EXPECT_EQ(std::tuple(message->title, message->icon), std::tuple("Quorvel Error", MessageIcon::Critical));
        // Unused switch text is never checked.
        EXPECT_FALSE(startHost({"acad", "Normal", "NoSwitch", switchText}, "/s/Batch.scr",
                               [](const LaunchRequest&) { return 42; }));
    }
}

TEST(LaunchCommand, ResultsAndTheirMessages)
{
    // Codes the launcher returns and the edges of the table; every result below 33 is a failure.
    const std::pair<int, std::string> cases[] = {
        {3, "Path not found"}, {11, "Invalid EXE file or error in EXE image"},
        {32, "DLL not found"}, {0, "Unknown error"},
        {4, "Unknown error"},  {-1, "Unknown error"},
    };
    const LaunchRequest request{"/opt/cad/acad", "/b \"/s/Batch.scr\"", " ", 1};
    for (const auto& [result, text] : cases) {
        const std::string advice = result == 3    ? "The folder of this program does not exist."
                                   : result == 11 ? "This file is not a program that can be started."
                                                  : "Check the Program Executable and the Startup Switches";
        const auto message = launchFailureMessage(result, request);
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->title, "Quorvel Error");
        EXPECT_TRUE(message->text.starts_with("Error Message " + text +
                                              " in routine StartAutoCAD \r\n\r\nThe CAD program: /opt/cad/acad\r\n"
                                              "It was started on: /b \"/s/Batch.scr\"\r\n\r\n" +
                                              advice))
            << message->text;
    }
    const std::string notFound = launchFailureMessage(2, request)->text;
    EXPECT_TRUE(notFound.starts_with("Error message File Not Found\r\n\r\nThere is no such file: /opt/cad/acad\r\n\r\n"
                                     "It seems Quorvel has lost the location of the AutoCAD.exe file. To solve "
                                     "this:\r\n\r\n1.    Start Quorvel\r\n"));
    EXPECT_NE(notFound.find("\r\n5.    Locate your CAD package executable file.  e.g. C:\\Program "
                            "Files\\AutoCAD 2002\\Acad.exe or\r\n"
                            "       for AutoCAD Lite e.g. C:\\Program Files\\AutoCAD LT 2002 \\Aclt.exe\r\n"),
              std::string::npos);
    EXPECT_TRUE(notFound.ends_with("\r\n10.  Restart Quorvel and try again.\r\n"
                                   "11.  If the problem persists please e-mail support@quorvel.example"));
    for (const int success : {33, 42, 1000})
        EXPECT_FALSE(launchFailureMessage(success, request).has_value());
}

} // namespace
} // namespace qv
