#include "HostTraces.h"

#include "System.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>

namespace cadhost {

namespace fs = std::filesystem;

namespace {

fs::path toPath(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string upper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::toupper(c); });
    return out;
}

// A command name as typed, without its language-independent and command-line prefixes.
std::string commandName(std::string_view typed)
{
    while (!typed.empty() && (typed.front() == '_' || typed.front() == '.' || typed.front() == '-'))
        typed.remove_prefix(1);
    return upper(typed);
}

// The path with the extension replaced: the lock file and the log are named after the drawing.
std::string besideWith(const std::string& path, std::string_view extension)
{
    fs::path p = toPath(path);
    p.replace_extension(std::u8string(extension.begin(), extension.end()));
    const std::u8string text = p.u8string();
    return std::string(text.begin(), text.end());
}

// The events that are commands typed at the command prompt.
bool isCommandEvent(std::string_view event)
{
    static constexpr std::string_view kCommands[] = {
        "open",     "recover", "zoom",  "close", "quit",  "qsave",    "saveas", "purge",   "plot",
        "psetupin", "dxfout",  "layer", "audit", "regen", "regenall", "setvar", "command", "lisp",
    };
    return std::find(std::begin(kCommands), std::end(kCommands), event) != std::end(kCommands);
}

// The host's message inside an error event: "PROMPT: ENTRY: MESSAGE (PROMPT TEXT)" gives MESSAGE.
std::string errorMessage(const qv::hostmodel::HostEvent& event)
{
    std::string text = event.detail;
    if (!event.entry.empty()) {
        const std::string marker = ": " + event.entry + ": ";
        if (const std::size_t at = text.find(marker); at != std::string::npos)
            text.erase(0, at + marker.size());
    }
    const std::string asking = " (" + event.asking + ")";
    if (!event.asking.empty() && text.ends_with(asking))
        text.erase(text.size() - asking.size());
    return text;
}

} // namespace

std::optional<Fault> parseFault(std::string_view firstLine, std::string& problem)
{
    constexpr std::string_view kPrefix = "CADHOST ";
    Fault fault;
    if (!firstLine.starts_with(kPrefix))
        return fault;
    firstLine.remove_prefix(kPrefix.size());
    std::size_t start = 0;
    while (start < firstLine.size()) {
        const std::size_t end = std::min(firstLine.find(' ', start), firstLine.size());
        const std::string_view pair = firstLine.substr(start, end - start);
        start = end + 1;
        if (upper(pair.substr(0, 6)) != "FAULT=")
            continue;
        const std::string_view value = pair.substr(6);
        const std::string name = upper(value.substr(0, value.find(':')));
        if (name == "CRASH" && value.size() == 5) {
            fault.kind = Fault::Kind::Crash;
        } else if (name == "HANG" && value.size() == 4) {
            fault.kind = Fault::Kind::Hang;
        } else if (name == "SLOW" && value.size() > 5 && value[4] == ':') {
            const std::string_view number = value.substr(5);
            const auto [ptr, error] = std::from_chars(number.data(), number.data() + number.size(), fault.seconds);
            if (error != std::errc() || ptr != number.data() + number.size() || !std::isfinite(fault.seconds) ||
                fault.seconds < 0.0) {
                problem = "bad seconds in \"" + std::string(pair) + "\"";
                return std::nullopt;
            }
            fault.kind = Fault::Kind::Slow;
        } else {
            problem = "unknown fault \"" + std::string(value) + "\" (crash, hang or slow:SECONDS)";
            return std::nullopt;
        }
    }
    return fault;
}

HostTraces::HostTraces(Setup setup, const qv::hostmodel::HostFiles& files) : m_setup(std::move(setup)), m_files(files)
{
    m_open.push_back({"Drawing1.dwg", {}}); // the start-up drawing, which has no file
}

void HostTraces::lock(OpenDrawing& drawing, const std::string& path)
{
    drawing.lock = besideWith(path, ".dwl");
    std::ofstream out(toPath(drawing.lock), std::ios::binary | std::ios::trunc);
    out << "cadhost\r\n";
    if (!out)
        drawing.lock.clear(); // a folder the host may not write: no lock, as on a read-only share
}

void HostTraces::logLine(const std::string& drawing, std::string_view text)
{
    if (!m_setup.logOn || drawing == "-")
        return;
    const fs::path name = toPath(drawing).filename().replace_extension(u8".log");
    std::ofstream out(toPath(m_setup.logFolder) / name, std::ios::binary | std::ios::app);
    out << text << "\r\n";
}

std::string HostTraces::actOut(const std::string& path)
{
    std::string problem;
    const std::optional<Fault> fault = parseFault(m_files.firstLine(path), problem);
    if (!fault)
        return "the drawing's fault: " + problem;
    switch (fault->kind) {
    case Fault::Kind::Crash:
        crash();
    case Fault::Kind::Hang:
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    case Fault::Kind::Slow:
        std::this_thread::sleep_for(std::chrono::duration<double>(fault->seconds));
        break;
    case Fault::Kind::None:
        break;
    }
    return {};
}

std::string HostTraces::observe(const qv::hostmodel::HostEvent& event)
{
    const std::string& e = event.event;
    if (e == "command") {
        const std::string name = commandName(event.detail);
        if (name == "LOGFILEOFF")
            logLine(event.drawing, "Command: " + event.detail);
        if (name == "LOGFILEON" || name == "LOGFILEOFF")
            m_setup.logOn = name == "LOGFILEON";
    }
    if (isCommandEvent(e)) {
        logLine(event.drawing, "Command: " + event.detail);
    } else if (e == "prompt") {
        const std::size_t colon = event.detail.find(": ");
        m_prompt = colon == std::string::npos ? event.detail : event.detail.substr(colon + 2);
    } else if (e == "answer") {
        const std::size_t colon = event.detail.find(": ");
        const std::string entry = colon == std::string::npos ? event.detail : event.detail.substr(colon + 2);
        logLine(event.drawing, m_prompt + " " + entry);
    } else if (e == "lisp-value") {
        logLine(event.drawing, event.detail);
    } else if (e == "error") {
        logLine(event.drawing, errorMessage(event));
    } else if (e == "opened") {
        OpenDrawing& drawing = m_open.emplace_back(OpenDrawing{event.drawing, {}});
        if (event.detail.starts_with("read-write"))
            lock(drawing, event.drawing);
        return actOut(event.drawing);
    } else if (e == "saved" && !m_open.empty() && m_open.back().name != event.drawing) {
        // Saved under a new name: the lock moves with the drawing.
        OpenDrawing& drawing = m_open.back();
        if (!drawing.lock.empty()) {
            std::error_code ignored;
            fs::remove(toPath(drawing.lock), ignored);
            lock(drawing, event.drawing);
        }
        drawing.name = event.drawing;
    } else if (e == "closed" && !m_open.empty()) {
        // The host closes the current drawing, which is the one opened last of those still open.
        if (!m_open.back().lock.empty()) {
            std::error_code ignored;
            fs::remove(toPath(m_open.back().lock), ignored);
        }
        m_open.pop_back();
    }
    return {};
}

} // namespace cadhost
