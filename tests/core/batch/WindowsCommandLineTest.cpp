#include "batch/WindowsCommandLine.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using Args = std::vector<std::string>;

TEST(WindowsCommandLine, SplitsAsTheWindowsRuntimeDoes)
{
    const std::pair<std::string, Args> cases[] = {
        // The documented examples of the C runtime.
        {R"("abc" d e)", {"abc", "d", "e"}},
        {R"(a\\b d"e f"g h)", {R"(a\\b)", "de fg", "h"}},
        {R"(a\\\"b c d)", {R"(a\"b)", "c", "d"}},
        {R"(a\\\\"b c" d e)", {R"(a\\b c)", "d", "e"}},
        {R"(a"b"" c d)", {R"(ab" c d)"}},
        // What the launcher passes.
        {R"(/b "C:\Program Files\Quorvel\Batch.scr")", {"/b", R"(C:\Program Files\Quorvel\Batch.scr)"}},
        {R"(/nologo /p "My Profile" /b "/tmp/a b/Batch1.scr")",
         {"/nologo", "/p", "My Profile", "/b", "/tmp/a b/Batch1.scr"}},
        // Edges.
        {"", {}},
        {" \t ", {}},
        {"  a\t\tb  ", {"a", "b"}},
        {R"(a "" b)", {"a", "", "b"}},
        {R"("unterminated quote)", {"unterminated quote"}},
        {R"(trailing\\)", {R"(trailing\\)"}},
        {R"("C:\dir\\" next)", {R"(C:\dir\)", "next"}},
        {R"(x"""y z")", {R"(x"y z)"}},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(splitWindowsCommandLine(line), expected) << line;
}

} // namespace
} // namespace qv
