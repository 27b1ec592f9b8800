// Times what a large routine database costs the list operations: retrieving a 100,000-drawing list, the
// missing-routine check before a run, and reading the routine list at start-up, each with a 5,000-routine
// database against the same with a 2-routine one, measured side by side. Median of several runs with the
// spread; prints figures, never fails on time.
#include "FileSystem.h"
#include "Timing.h"
#include "batch/DrawingListFile.h"
#include "batch/LaunchCommand.h"
#include "batch/ReadOnlyCheck.h"
#include "batch/ScriptWriter.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineDatabase.h"
#include "routines/RoutineRecord.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using bench::Spread;

double timeOnce(const std::function<void()>& work)
{
    return bench::secondsOf(work) * 1000;
}

// Both sides run by turns, so that whatever else the machine is doing weighs on both alike.
std::pair<Spread, Spread> measure(int runs, const std::function<void()>& small, const std::function<void()>& large)
{
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        a.push_back(timeOnce(small));
        b.push_back(timeOnce(large));
    }
    return {bench::summarise(std::move(a)), bench::summarise(std::move(b))};
}

// A routine of realistic size: a plot with its answers, as the builders write them.
std::string routineText(int i)
{
    std::string text = "_-plot\r\n_Yes\r\nLayout" + std::to_string(i % 7) +
                       "\r\nDWG To PDF.pc3\r\nISO full bleed A1 (841.00 x 594.00 MM)\r\n_Millimeters\r\n_Landscape\r\n"
                       "_No\r\n_Extents\r\n1:100\r\n_Center\r\n_Yes\r\nmonochrome.ctb\r\n_Yes\r\n_As\r\n\r\n_No\r\n_Yes";
    return text;
}

std::vector<std::string> makeDatabase(const fs::path& file, int routines)
{
    std::vector<std::string> descriptions;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < routines; ++i) {
        // Numbers of one width, so that both databases' descriptions are as long: a look-up costs what its
        // text's length costs, and the comparison is of the database's size alone.
        char site[16];
        std::snprintf(site, sizeof site, "%04d", i);
        descriptions.push_back("Plot sheets of site " + std::string(site) + " to PDF, A1");
        out << qv::encodeRoutineRecord(qv::makeRoutineForAdd(descriptions.back(), routineText(i), i % 3 == 0)).value();
    }
    return descriptions;
}

void report(const char* what, const Spread& small, const Spread& large, const char* target)
{
    std::printf("  %-34s %8.1f ms [%.1f, %.1f]  vs  %8.1f ms [%.1f, %.1f]   ratio %.2f  (%s)\n", what, large.median,
                large.low, large.high, small.median, small.low, small.high, large.median / small.median, target);
}

} // namespace

int main()
{
    constexpr int kDrawings = 100000;
    constexpr int kRuns = 9;
    constexpr int kChecksPerSample = 10;
    const fs::path dir = fs::temp_directory_path() / "quorvel-scale-bench";
    fs::remove_all(dir);
    fs::create_directories(dir);

    struct Setup
    {
        std::string database;
        std::string list;
        qv::DrawingRows rows;
    };
    std::vector<Setup> setups;
    for (const int routines : {2, 5000}) {
        Setup setup;
        setup.database = (dir / ("db" + std::to_string(routines) + ".dat")).string();
        const std::vector<std::string> descriptions = makeDatabase(setup.database, routines);
        for (int i = 0; i < kDrawings; ++i) {
            setup.rows.push_back({"Sheet-" + std::to_string(i) + ".dwg", "/projects/site " + std::to_string(i % 40),
                                  descriptions[static_cast<std::size_t>(i) % descriptions.size()], ""});
        }
        setup.list = (dir / ("list" + std::to_string(routines) + ".qvl")).string();
        if (!qv::writeList(setup.list, setup.rows).saved) {
            std::fprintf(stderr, "could not write %s\n", setup.list.c_str());
            return 2;
        }
        setups.push_back(std::move(setup));
    }

    std::size_t sink = 0;
    // A retrieve works on the routine list the program read at start-up (and reads afresh whenever a window
    // over the panel closes): one index per retrieve, then the list file.
    auto retrieve = [&](const Setup& setup) {
        auto db = qv::RoutineDatabase::forFile(setup.database);
        auto catalogue = std::make_shared<qv::RoutineList>(db.readAll().value().routines);
        return [&setup, catalogue, &sink] {
            const qv::RoutineIndex index(*catalogue);
            const qv::RetrievedList list =
                qv::retrieveList(setup.list, [&index](std::string_view d) { return index.contains(d); });
            sink += list.rows.size() + (list.missing ? 1 : 0);
        };
    };
    // A run builds its index once, for the missing-routine check and the script text: the two are timed
    // apart, the check on the index the run has built.
    auto missing = [&](const Setup& setup) {
        auto db = qv::RoutineDatabase::forFile(setup.database);
        auto catalogue = std::make_shared<qv::RoutineList>(db.readAll().value().routines);
        auto index = std::make_shared<qv::RoutineIndex>(*catalogue);
        // One check takes about 2 ms: ten per sample keep the timer's grain out of the ratio.
        return [&setup, catalogue, index, &sink] {
            for (int i = 0; i < kChecksPerSample; ++i)
                sink += qv::findMissingRoutines(setup.rows, *index, false).size();
        };
    };
    auto indexing = [&](const Setup& setup) {
        auto db = qv::RoutineDatabase::forFile(setup.database);
        auto catalogue = std::make_shared<qv::RoutineList>(db.readAll().value().routines);
        return [catalogue, &sink] { sink += qv::RoutineIndex(*catalogue).contains("x") ? 1 : 2; };
    };
    // What a start does: read the database, one attribute query per drawing (the read-only check), the
    // missing-routine check, the script text and its one write.
    const std::string scriptPath = (dir / "Batch.scr").string();
    auto run = [&](const Setup& setup) {
        return [&] {
            auto db = qv::RoutineDatabase::forFile(setup.database);
            const qv::RoutineList catalogue = db.readAll().value().routines;
            qv::platform::AttributeReader reader;
            const qv::ReadOnlyScan scan =
                qv::findReadOnlyDrawings(setup.rows, [&reader](const std::string& path) { return reader.query(path); });
            const qv::RoutineIndex index(catalogue);
            sink += qv::findMissingRoutines(setup.rows, index, false).size();
            qv::ScriptInputs inputs;
            inputs.rowsInPlace = &setup.rows;
            inputs.scriptFolder = dir.string();
            inputs.openCommand = "_Open";
            inputs.sequenceText = "1";
            inputs.routineText = [&index](const std::string& d) { return index.lookup(d).text; };
            inputs.readOnlyRows = scan.rowIsReadOnly;
            const std::string bytes = qv::buildScript(inputs, qv::ScriptWriterKind::General).value().bytes;
            std::FILE* file = std::fopen(scriptPath.c_str(), "wb");
            if (file) {
                sink += std::fwrite(bytes.data(), 1, bytes.size(), file);
                std::fclose(file);
            }
        };
    };
    // What opening the program does with the routine database: read it and list the descriptions.
    auto startup = [&](const Setup& setup) {
        return [&] {
            auto db = qv::RoutineDatabase::forFile(setup.database);
            const qv::Result<qv::RoutineRecords> records = db.readAll();
            if (!records)
                return;
            for (const qv::Routine& routine : records.value().routines)
                sink += qv::trimSpaces(routine.description()).size() + qv::trimSpaces(routine.favourite()).size();
        };
    };

    std::printf("Routine database of 5,000 against 2 routines, %d drawings, %u cores, median of %d runs [min, max], the two sides by turns\n",
                kDrawings, std::thread::hardware_concurrency(), kRuns);
    const auto [retrieveSmall, retrieveLarge] = measure(kRuns, retrieve(setups[0]), retrieve(setups[1]));
    report("retrieve list (index, list file)", retrieveSmall, retrieveLarge, "target at most 1.2");
    const auto [missingSmall, missingLarge] = measure(kRuns, missing(setups[0]), missing(setups[1]));
    const auto perCheck = [](Spread spread) {
        for (double* value : {&spread.median, &spread.low, &spread.high})
            *value /= kChecksPerSample;
        return spread;
    };
    report("missing-routine check", perCheck(missingSmall), perCheck(missingLarge),
           "on the run's index; target at most 1.2");
    const auto [indexSmall, indexLarge] = measure(kRuns, indexing(setups[0]), indexing(setups[1]));
    report("index of the routine list", indexSmall, indexLarge, "once per run or retrieve");
    const auto [runSmall, runLarge] = measure(kRuns, run(setups[0]), run(setups[1]));
    report("start a run (up to the script write)", runSmall, runLarge, "target at most 1.2");
    const auto [startSmall, startLarge] = measure(kRuns, startup(setups[0]), startup(setups[1]));
    report("routine list at start-up", startSmall, startLarge, "target: under 100 ms more");
    std::printf("  start-up difference                %8.1f ms\n", startLarge.median - startSmall.median);
    fs::remove_all(dir);
    return sink > 0 ? 0 : 1;
}
