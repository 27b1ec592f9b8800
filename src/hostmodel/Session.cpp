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
    co_await closeChanged();
}

// The question CLOSE and QUIT ask about a changed drawing; true when the drawing was closed. AutoCAD and LT ask
// whether to discard the changes: Yes closes without saving, No leaves the drawing open. BricsCAD and ZWCAD ask
// whether to save: Yes saves and closes, No closes without saving. A save that fails is journaled as an error
// and the drawing closes all the same, its changes lost.
Task<bool> Host::closeChanged()
{
    if (m_setup.product.discardsAtClose()) {
        const bool discard =
            co_await askYesNo("discard-changes", "Really want to discard all changes to drawing? <N>", false);
        if (!discard) {
            log("kept-open", "the changes were not discarded; the drawing stays open");
            co_return false;
        }
        discardCurrent();
        co_return true;
    }
    const bool yes = co_await askYesNo("save-changes", "Save changes to " + currentName() + "? [Yes/No] <Y>:", true);
    if (!yes) {
        discardCurrent();
        co_return true;
    }
    const bool saved = save(current());
    closeCurrent(saved ? "saved" : "changes discarded");
    co_return true;
}

void Host::discardCurrent()
{
    log("discarded", current().edited ? "edits" : "view");
    closeCurrent("changes discarded");
}

void Host::closeCurrent(std::string_view detail)
{
    log("closed", detail);
    m_drawings.pop_back();
}

// QUIT asks about each changed drawing in turn, current first, closing each as it goes. A drawing kept open
// ends the quit: the host stays.
Task<void> Host::quit()
{
    while (!m_drawings.empty()) {
        if (!current().modified) {
            closeCurrent("unmodified");
            continue;
        }
        const bool closed = co_await closeChanged();
        if (!closed) {
            co_return;
        }
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
        drawing.markSaved();
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
    drawing.markSaved();
    log("saved", "modification time set");
    return true;
}

} // namespace qv::hostmodel
