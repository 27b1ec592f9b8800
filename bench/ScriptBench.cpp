// Times the batch script writer and the read-only check for 100,000 drawings against one buffered
// write of the same bytes. Prints figures; never fails on time.
#include "FileSystem.h"
#include "batch/ReadOnlyCheck.h"
#include "batch/ScriptWriter.h"
#include "io/FileIo.h"
#include "text/Paths.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

template <typename F>
double Best(int runs, F&& work)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, Seconds(start));
    }
    return best;
}

} // namespace

int main()
{
    namespace fs = std::filesystem;
    constexpr int kDrawings = 100000;
    const fs::path dir = fs::temp_directory_path() / "quorvel-script-bench";
    fs::remove_all(dir);
    fs::create_directories(dir / "drawings");

    qv::ScriptInputs inputs;
    inputs.scriptFolder = dir.string();
    inputs.openCommand = "_Open";
    inputs.sequenceText = "1";
    for (int i = 0; i < kDrawings; ++i) {
        const std::string name = "Sheet-" + std::to_string(i) + ".dwg";
        std::FILE* f = std::fopen((dir / "drawings" / name).c_str(), "wb");
        if (f)
            std::fclose(f);
        inputs.rows.push_back({name, (dir / "drawings").string(), i % 2 ? "Purge All and Save" : "Zoom Extents and Save", ""});
    }
    inputs.routineText = [](const std::string& description) {
        return description[0] == 'P' ? std::string("_-Purge\r\n_All\r\n*\r\n_N\r\n_Qsave")
                                     : std::string("_Zoom\r\n_E\r\n_Qsave");
    };
    // As in the program: the read-only check that runs first hands its findings to the writer.
    inputs.readOnlyRows.assign(inputs.rows.size(), false);
    const auto probe = [](const std::string&) { return 0; };
    const auto ask = [](const qv::UserMessage&) { return qv::MessageAnswer::Ok; };

    qv::ScriptResult result;
    const double writer = Best(20, [&] { result = qv::LoopThroughList(inputs, probe, ask); });
    const std::string bytes = qv::BuildScript(inputs, qv::ScriptWriterKind::General).value().bytes;
    const double build = Best(20, [&] { (void)qv::BuildScript(inputs, qv::ScriptWriterKind::General); });
    const std::string plainPath = (dir / "plain.scr").string();
    const double plain = Best(20, [&] {
        std::FILE* f = std::fopen(plainPath.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    });

    qv::DrawingRows rows = inputs.rows;
    qv::ReadOnlyScan scan;
    const auto attributes = [](const std::string& path) { return qv::platform::GetFileAttributes(path); };
    scan = qv::FindReadOnlyDrawings(rows, attributes); // warm the file system cache
    const double readOnly = Best(20, [&] { scan = qv::FindReadOnlyDrawings(rows, attributes); });

    std::printf("Batch script for %d drawings (%zu bytes), %u cores\n", kDrawings, bytes.size(),
                std::thread::hardware_concurrency());
    std::printf("  script writer (build + write)   %8.1f ms\n", writer * 1000);
    std::printf("  of which building the text      %8.1f ms\n", build * 1000);
    std::printf("  one buffered write, same bytes  %8.1f ms\n", plain * 1000);
    std::printf("  ratio                           %8.2f (target at most 3)\n", writer / plain);
    std::printf("  read-only check, warm           %8.1f ms (target at most 1000), %zu read-only\n", readOnly * 1000,
                scan.readOnly.size());
    fs::remove_all(dir);
    return result.written ? 0 : 1;
}
