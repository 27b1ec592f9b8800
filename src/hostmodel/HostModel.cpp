#include "HostModel.h"

#include "Host.h"
#include "ScriptText.h"

#include <exception>

namespace qv::hostmodel {

namespace {

// Reads a script the way the host types it: a line that begins with ';' is a comment; elsewhere a space
// outside double quotes and the end of the line each act as Enter, except at the prompts that take the rest
// of the line as one name. An entry that begins with '(' is AutoLISP, read across lines until its
// parentheses balance; the space or line end after it ends the expression and types nothing more.
class ScriptReader
{
public:
    ScriptReader(std::string_view scriptBytes, Host& host, std::function<bool(std::size_t, std::size_t)> keepGoing)
        : text_(windows1252ToUtf8(scriptBytes)), lines_(splitLineViews(text_)), host_(host),
          keepGoing_(std::move(keepGoing))
    {
    }

    void run()
    {
        while (host_.running()) {
            if (fresh_) {
                if (line_ >= lines_.size()) {
                    host_.endOfScript();
                    return;
                }
                if (keepGoing_ && !keepGoing_(line_ + 1, lines_.size())) {
                    host_.stopped();
                    return;
                }
                if (!lines_[line_].empty() && lines_[line_].front() == ';') {
                    ++line_;
                    continue;
                }
                pos_ = 0;
                fresh_ = false;
            }
            const std::string_view text = lines_[line_];
            const int number = static_cast<int>(line_) + 1;
            if (pos_ < text.size() && text[pos_] == '(') {
                host_.lispExpression(number, readExpression());
                continue;
            }
            std::size_t end = text.size();
            if (host_.wantedEntry() == EntryKind::Word) {
                bool quoted = false;
                for (end = pos_; end < text.size() && (quoted || text[end] != ' '); ++end) {
                    quoted = text[end] == '"' ? !quoted : quoted;
                }
            }
            const std::string entry(text.substr(pos_, end - pos_));
            finishAt(end);
            host_.type(number, entry);
        }
        // The host quit: what is left of the script is never read.
        const std::size_t unread = lines_.size() - line_ - (fresh_ ? 0 : 1);
        if (unread > 0 && line_ < lines_.size()) {
            host_.log(0, "unread", std::to_string(unread) + " line(s)");
        }
    }

private:
    // Moves past the character at 'end' of the current line (a space, or the line end).
    void finishAt(std::size_t end)
    {
        if (end >= lines_[line_].size()) {
            ++line_;
            fresh_ = true;
        } else {
            pos_ = end + 1;
        }
    }

    std::string readExpression()
    {
        std::string expression;
        int depth = 0;
        bool inString = false;
        bool escaped = false;
        for (;;) {
            const std::string_view text = lines_[line_];
            bool comment = false;
            for (std::size_t i = pos_; i < text.size(); ++i) {
                const char ch = text[i];
                expression += ch;
                if (comment) {
                    continue;
                }
                if (inString) {
                    if (escaped) {
                        escaped = false;
                    } else if (ch == '\\') {
                        escaped = true;
                    } else if (ch == '"') {
                        inString = false;
                    }
                    continue;
                }
                if (ch == '"') {
                    inString = true;
                } else if (ch == ';') {
                    comment = true;
                } else if (ch == '(') {
                    ++depth;
                } else if (ch == ')' && --depth <= 0) {
                    if (i + 1 < text.size() && text[i + 1] != ' ') {
                        pos_ = i + 1;
                    } else {
                        finishAt(i + 1);
                    }
                    return expression;
                }
            }
            // Still open at the line end: the expression goes on on the next line.
            ++line_;
            fresh_ = true;
            if (line_ >= lines_.size()) {
                return expression;
            }
            expression += '\n';
            pos_ = 0;
            fresh_ = false;
        }
    }

    std::string text_;
    std::vector<std::string_view> lines_;
    Host& host_;
    std::function<bool(std::size_t, std::size_t)> keepGoing_;
    std::size_t line_ = 0;
    std::size_t pos_ = 0;
    bool fresh_ = true;
};

} // namespace

HostOutcome runHostScript(std::string_view scriptBytes, const HostSetup& setup, const EventSink& sink)
{
    HostOutcome outcome;
    try {
        Host host(setup, sink);
        ScriptReader(scriptBytes, host, setup.keepGoing).run();
        outcome = host.outcome();
    } catch (const std::exception& error) {
        // A fault of the model itself; the journal says so rather than the run passing.
        sink(HostEvent{0, "error", "-", std::string("the host model failed: ") + error.what(), {}, {}});
        outcome.status = 1;
        ++outcome.errors;
    }
    sink(HostEvent{0, "exit", "-",
                   std::to_string(outcome.status) + " unmodelled=" + std::to_string(outcome.unmodelled), {}, {}});
    return outcome;
}

} // namespace qv::hostmodel
