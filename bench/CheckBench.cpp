// Times the check of a batch of 100,000 drawings through the host model, against one attribute query per
// drawing measured in the same run. Median of several runs, with the spread. Prints figures; never fails on
// time.
#include "FileSystem.h"
#include "Timing.h"
#include "batch/BatchCheck.h"
#include "batch/ScriptWriter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

using bench::measure;
using bench::Spread;

int main()
{
    namespace fs = std::filesystem;
    constexpr int kDrawings = 100000;
    constexpr int kRuns = 7;
    const fs::path dir = fs::temp_directory_path() / "quorvel-check-bench";
    fs::remove_all(dir);
    fs::create_directories(dir / "drawings");

    qv::ScriptInputs inputs;
    inputs.scriptFolder = dir.string();
    inputs.openCommand = "_Open";
    inputs.sequenceText = "1";
    for (int i = 0; i < kDrawings; ++i) {
        const std::string name = "Sheet-" + std::to_string(i) + ".dwg";
        std::FILE* f = std::fopen((dir / "drawings" / name).c_str(), "wb");
        if (f) {
            std::fputs("DWG", f);
            std::fclose(f);
        }
        inputs.rows.push_back({name, (dir / "drawings").string(), i % 2 ? "Purge" : "Plot", ""});
    }
    inputs.routineText = [](const std::string& description) {
        return description == "Purge" ? std::string("_-Purge\r\n_All\r\n*\r\n_N\r\n_Qsave")
                                      : std::string("_-plot\r\n_N\r\n\r\nA1\r\n\r\n_N\r\n_N\r\n_Y");
    };
    inputs.readOnlyRows.assign(inputs.rows.size(), false);
    const std::string script = qv::buildScript(inputs, qv::ScriptWriterKind::General).value().bytes;

    std::size_t seen = 0;
    const Spread floor = measure(kRuns, [&] {
        for (const qv::DrawingRow& row : inputs.rows) {
            seen += qv::platform::fileAttributes(row.folder + "/" + row.file).ok() ? 1 : 0;
        }
    });
    qv::BatchCheckReport report;
    const Spread check = measure(kRuns, [&] {
        report = qv::checkBatchScript(script, inputs.rows, {"Cad2018", {}, {}, {}}).value();
    });

    std::printf("Check of %d drawings (%zu script bytes), %u cores, median of %d runs [min, max]\n", kDrawings,
                script.size(), std::thread::hardware_concurrency(), kRuns);
    std::printf("  check                           %8.1f ms [%.1f, %.1f] (target under 2000)\n", check.median * 1000,
                check.low * 1000, check.high * 1000);
    std::printf("  floor: one attribute query each %8.1f ms [%.1f, %.1f]\n", floor.median * 1000, floor.low * 1000,
                floor.high * 1000);
    std::printf("  ratio                           %8.1f\n", check.median / floor.median);
    std::printf("  %zu drawings, %d errors, %d warnings\n", report.drawings.size(), report.errors, report.warnings);
    fs::remove_all(dir);
    return report.drawings.size() == static_cast<std::size_t>(kDrawings) && seen > 0 ? 0 : 1;
}
