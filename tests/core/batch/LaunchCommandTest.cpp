#include "batch/LaunchCommand.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(LaunchCommand, EveryRowNeedsARoutine)
{
    EXPECT_FALSE(CheckFileAssigned({}).has_value());
    EXPECT_FALSE(CheckFileAssigned({{"a.dwg", "F", "Plot", ""}, {"b.dwg", "F", " ", ""}}).has_value());
    const auto message = CheckFileAssigned({{"a.dwg", "F", "Plot", ""}, {"b.dwg", "F", "", ""}});
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(*message, (UserMessage{"Please Assign a Routine To All Files", "Quorvel Error", MessageIcon::Critical,
                                     MessageButtons::Ok}));
}

TEST(LaunchCommand, ConfirmationLinesEndWithLineFeedsAlone)
{
    const UserMessage message = ConfirmStartMessage();
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
    struct Case
    {
        bool confirm;
        const char* code;
        ScriptWriterKind kind;
    };
    const Case cases[] = {
        {true, "Bricscad", ScriptWriterKind::General},   {true, "ZWCAD", ScriptWriterKind::General},
        {false, "Bricscad", ScriptWriterKind::Bricscad}, {false, "BRICSCAD", ScriptWriterKind::Bricscad},
        {false, "zwcad", ScriptWriterKind::Zwcad},       {false, "Cad2018", ScriptWriterKind::General},
        {false, "CadLT2018", ScriptWriterKind::General}, {false, "Unknown", ScriptWriterKind::General},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseScriptWriter(c.confirm, c.code), c.kind) << c.confirm << " " << c.code;
}

TEST(LaunchCommand, RequestFromTheSettings)
{
    struct Case
    {
        LaunchSettings settings;
        LaunchRequest expected;
    };
    const std::string script = R"(C:\Scripts\Batch1.scr)";
    const Case cases[] = {
        {{"C:\\Acad\\acad.exe", "Normal", "NoSwitch", "/p x"},
         {"C:\\Acad\\acad.exe", "/b \"C:\\Scripts\\Batch1.scr\"", " ", 1}},
        {{"acad", "Minimized", "YesSwitch", " /nologo /p \"My Profile\" "},
         {"acad", " /nologo /p \"My Profile\"  /b \"C:\\Scripts\\Batch1.scr\"", " ", 2}},
        {{"acad", "Maximised", "YesSwitch", ""}, {"acad", " /b \"C:\\Scripts\\Batch1.scr\"", " ", 3}},
        {{"acad", "Maximized", "yesswitch", "/nologo"}, {"acad", "/b \"C:\\Scripts\\Batch1.scr\"", " ", 1}},
        {{"Unknown", "Unknown", "Unknown", ""}, {"Unknown", "/b \"C:\\Scripts\\Batch1.scr\"", " ", 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildLaunchRequest(c.settings, script), c.expected) << c.settings.windowState;
}

TEST(LaunchCommand, ResultsAndTheirMessages)
{
    struct Case
    {
        int result;
        const char* text;
    };
    const Case cases[] = {
        {2, "File not found"},
        {3, "Path not found"},
        {5, "Access denied"},
        {8, "Out of memory"},
        {11, "Invalid EXE file or error in EXE image"},
        {26, "A sharing violation occurred"},
        {27, "Incomplete or invalid file association"},
        {28, "DDE Time out"},
        {29, "DDE transaction failed"},
        {30, "DDE busy"},
        {31, "No association for file extension"},
        {32, "DLL not found"},
        {0, "Unknown error"},
        {1, "Unknown error"},
        {4, "Unknown error"},
        {-1, "Unknown error"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShellExecuteErrorText(c.result), c.text);
        const auto message = LaunchFailureMessage(c.result);
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->title, "Quorvel Error");
        EXPECT_EQ(message->icon, MessageIcon::Critical);
        if (c.result != 2) {
            EXPECT_EQ(message->text, "Error Message " + std::string(c.text) +
                                         " in routine StartAutoCAD \r\n\r\n"
                                         "If the problem persists please e-mail support@quorvel.example\r\n\r\n"
                                         "with the details of this message. This is important\r\n\r\nThank You.");
        }
    }
    const auto notFound = LaunchFailureMessage(2);
    EXPECT_TRUE(notFound->text.starts_with(
        "Error message File Not Found\r\n\r\n"
        "It seems Quorvel has lost the location of the AutoCAD.exe file. To solve this:\r\n\r\n"
        "1.    Start Quorvel\r\n"));
    EXPECT_NE(notFound->text.find("\r\n5.    Locate your CAD package executable file.  e.g. C:\\Program "
                                  "Files\\AutoCAD 2002\\Acad.exe or\r\n"
                                  "       for AutoCAD Lite e.g. C:\\Program Files\\AutoCAD LT 2002 \\Aclt.exe\r\n"),
              std::string::npos);
    EXPECT_NE(notFound->text.find("\r\n10.  Restart Quorvel and try again.\r\n11.  "), std::string::npos);
    EXPECT_FALSE(notFound->text.ends_with("\r\n"));

    for (const int success : {33, 42, 1000})
        EXPECT_FALSE(LaunchFailureMessage(success).has_value());
}

} // namespace
} // namespace qv
