// Opening, closing, saving and quitting.

#include "Host.h"
#include "Text.h"

namespace qv::hostmodel {

Task<void> Host::open(bool recover)
{
    const std::string entry = co_await next("open-name", "Enter name of drawing to open <.>:");
    const std::string path = stripQuotes(entry);
    if (path.empty()) {
        cancel(entry, "No drawing name given.");
    }
    if (!m_setup.files->isFile(path)) {
        cancel(entry, "Cannot find the specified drawing file.");
    }
    accept(entry);
    if (m_setup.files->isWritable(path)) {
        openDrawing(path, false, recover);
        co_return;
    }
    if (co_await askYesNo("open-readonly", "Drawing is write protected. Open read-only? <Y>", true)) {
        openDrawing(path, true, recover);
    }
}

void Host::openDrawing(const std::string& path, bool readOnly, bool recover)
{
    Drawing drawing;
    drawing.path = path;
    drawing.readOnly = readOnly;
    const std::string firstLine = m_setup.files->firstLine(path);
    if (m_setup.trustNames && firstLine.rfind("CADHOST ", 0) != 0) {
        drawing.device = std::string(Drawing::kOwnDevice);
    }
    const std::string problem = applyDrawingLine(firstLine, drawing);
    m_drawings.push_back(std::move(drawing));
    const std::string detail = readOnly ? "read-only" : "read-write";
    log("opened", recover ? detail + ", recovered" : detail);
    if (!problem.empty()) {
        fail("the drawing's CADHOST line: " + problem);
    }
}

Task<void> Host::close()
{
    if (!current().modified) {
        closeCurrent("unmodified");
        co_return;
    }
    const bool saved = co_await saveChanges();
    closeCurrent(saved ? "saved" : "changes discarded");
}

// The question CLOSE and QUIT ask about a changed drawing. A save that fails is journaled as an error and
// the drawing closes all the same, its changes lost.
Task<bool> Host::saveChanges()
{
    const bool yes = co_await askYesNo("save-changes", "Save changes to " + currentName() + "? [Yes/No] <Y>:", true);
    co_return yes && save(current());
}

void Host::closeCurrent(std::string_view detail)
{
    log("closed", detail);
    m_drawings.pop_back();
}

// QUIT asks about each changed drawing in turn, current first, closing each as it goes.
Task<void> Host::quit()
{
    while (!m_drawings.empty()) {
        if (!current().modified) {
            closeCurrent("unmodified");
            continue;
        }
        const bool saved = co_await saveChanges();
        closeCurrent(saved ? "saved" : "changes discarded");
    }
    m_quit = true;
}

Task<void> Host::qsave()
{
    // A drawing that has never been named is saved as with SAVEAS, without the format question.
    if (current().startup) {
        co_await saveAsName(false);
        co_return;
    }
    save(current());
}

bool Host::save(Drawing& drawing)
{
    if (drawing.startup) {
        // The start-up drawing has no file; it is taken as saved under its own name without writing.
        drawing.modified = false;
        log("saved", "start-up drawing, not written");
        return true;
    }
    if (drawing.readOnly || !m_setup.files->isWritable(drawing.path)) {
        fail("drawing is write protected and cannot be saved: " + drawing.path);
        return false;
    }
    if (const std::string error = m_setup.files->touch(drawing.path); !error.empty()) {
        fail("cannot save " + drawing.path + ": " + error);
        return false;
    }
    drawing.modified = false;
    log("saved", "modification time set");
    return true;
}

} // namespace qv::hostmodel
