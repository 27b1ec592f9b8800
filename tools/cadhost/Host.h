#pragma once

#include "Catalogue.h"
#include "Journal.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cadhost {

// The stand-in host's command line: open drawings, the prompt in front of the user, and what each entry
// typed at it does. Every entry is journaled: as a command, as an answer to a prompt, or as an error when
// it does not fit the prompt.
class Host
{
public:
    static constexpr std::string_view kStartupDrawing = "Drawing1.dwg";

    Host(Product product, Journal& journal);

    // Types one entry at the prompt in front of the user. Returns false once the host has quit.
    bool type(int line, const std::string& entry);

    // The script ran out while the host was still running.
    void endOfScript();

    // True when any entry did not fit its prompt or an action it asked for failed.
    bool failed() const { return failed_; }

private:
    enum class Prompt
    {
        Command,
        OpenName,
        OpenReadOnly,
        Zoom,
        ZoomFirstCorner,
        ZoomOppositeCorner,
        ZoomScale,
        SaveChanges,
        SaveAsFormat,
        SaveAsName,
        SaveAsReplace,
        PurgeType,
        PurgeNames,
        PurgeVerify,
    };

    struct Drawing
    {
        std::string path;
        bool startup = false; // the unnamed drawing the host starts with; never on disk
        bool readOnly = false;
        bool modified = false;
    };

    void commandEntry(const std::string& entry);
    void openName(const std::string& entry);
    void openReadOnly(const std::string& entry);
    void zoom(const std::string& entry);
    void zoomCorner(const std::string& entry);
    void zoomScale(const std::string& entry);
    void saveChanges(const std::string& entry);
    void saveAsFormat(const std::string& entry);
    void saveAsName(const std::string& entry);
    void saveAsReplace(const std::string& entry);
    void purgeType(const std::string& entry);
    void purgeNames(const std::string& entry);
    void purgeVerify(const std::string& entry);

    void openDrawing(const std::string& path, bool readOnly);
    void zoomDone();
    void purgeDone(const std::string& detail);
    void closeCurrent(std::string_view detail);
    void continueQuit();
    bool save(Drawing& drawing);
    void saveAs(const std::string& target);

    // A yes/no answer: nullopt when the entry is neither; an empty entry takes the default.
    std::optional<bool> yesNo(const std::string& entry, bool byDefault) const;

    std::string promptId() const;
    std::string promptText() const;
    std::string currentName() const;
    void log(std::string_view event, std::string_view detail);
    void answer(const std::string& entry);
    void reject(const std::string& entry, std::string_view message);
    void fail(std::string_view detail);

    Product product_;
    Journal& journal_;
    std::vector<Drawing> drawings_; // the last one is current
    Prompt prompt_ = Prompt::Command;
    int line_ = 0;
    bool quitting_ = false;
    bool quit_ = false;
    bool failed_ = false;
    bool recover_ = false;
    std::string pending_; // the drawing waiting for the read-only answer, or the save-as target
    std::string purgeType_;
    std::string purgeNames_;
};

} // namespace cadhost
