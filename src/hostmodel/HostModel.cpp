#include "HostModel.h"

#include "Host.h"
#include "ScriptText.h"

#include <exception>

namespace qv::hostmodel {

namespace {

// A script's lines in order, one at a time, each in UTF-8 when it is reached: a long script is never held
// twice. Lines end at CR LF, CR or LF, as splitLineViews splits them.
class ScriptLines
{
public:
    explicit ScriptLines(std::string_view bytes) : m_bytes(bytes)
    {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\r' || bytes[i] == '\n') {
                ++m_count;
                i += bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 1 : 0;
            }
        }
        if (!bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n') {
            ++m_count;
        }
        load();
    }

    std::size_t count() const { return m_count; }
    // The current line; empty past the last.
    const std::string& text() const { return m_text; }
    void advance()
    {
        ++m_index;
        load();
    }

private:
    void load()
    {
        m_text.clear();
        if (m_index >= m_count) {
            return;
        }
        std::size_t end = m_next;
        while (end < m_bytes.size() && m_bytes[end] != '\r' && m_bytes[end] != '\n') {
            ++end;
        }
        m_text = windows1252ToUtf8(m_bytes.substr(m_next, end - m_next));
        m_next = end + (end + 1 < m_bytes.size() && m_bytes[end] == '\r' && m_bytes[end + 1] == '\n' ? 2 : 1);
    }

    std::string_view m_bytes;
    std::size_t m_count = 0;
    std::size_t m_index = 0;
    std::size_t m_next = 0; // where the line after the current one begins
    std::string m_text;
};

// Reads a script the way the host types it: a line that begins with ';' is a comment; elsewhere a space
// outside double quotes and the end of the line each act as Enter, except at the prompts that take the rest
// of the line as one name. An entry that begins with '(' is AutoLISP, read across lines until its
// parentheses balance; the space or line end after it ends the expression and types nothing more. What stands
// at the end of a last line that no line end follows is never typed: the host waits for its Enter.
class ScriptReader
{
public:
    ScriptReader(std::string_view scriptBytes, Host& host, std::function<bool(std::size_t, std::size_t)> keepGoing)
        : m_lines(scriptBytes), m_host(host), m_keepGoing(std::move(keepGoing)),
          m_openEnd(!scriptBytes.empty() && scriptBytes.back() != '\n' && scriptBytes.back() != '\r')
    {
    }

    void run()
    {
        while (m_host.running()) {
            if (m_fresh) {
                if (m_line >= m_lines.count()) {
                    m_host.endOfScript(0);
                    return;
                }
                if (m_keepGoing && !m_keepGoing(m_line + 1, m_lines.count())) {
                    m_host.stopped();
                    return;
                }
                if (!m_lines.text().empty() && m_lines.text().front() == ';') {
                    nextLine();
                    continue;
                }
                m_pos = 0;
                m_fresh = false;
            }
            const std::string_view text = m_lines.text();
            const int number = static_cast<int>(m_line) + 1;
            if (m_pos < text.size() && text[m_pos] == '(') {
                std::string expression = readExpression();
                if (m_untyped) {
                    m_host.endOfScript(static_cast<int>(m_lines.count()));
                    return;
                }
                m_host.lispExpression(number, expression);
                continue;
            }
            std::size_t end = text.size();
            if (m_host.wantedEntry() == EntryKind::Word) {
                bool quoted = false;
                for (end = m_pos; end < text.size() && (quoted || text[end] != ' '); ++end) {
                    quoted = text[end] == '"' ? !quoted : quoted;
                }
            }
            if (end >= text.size() && lastLineOpen()) {
                m_host.endOfScript(number);
                return;
            }
            const std::string entry(text.substr(m_pos, end - m_pos));
            finishAt(end);
            m_host.type(number, entry);
        }
        // The host quit, or the script was suspended: what is left of it is never read.
        const std::size_t unread = m_lines.count() - m_line - (m_fresh ? 0 : 1);
        if (unread > 0 && m_line < m_lines.count()) {
            m_host.log(0, "unread", std::to_string(unread) + " line(s)");
        }
    }

private:
    bool lastLineOpen() const { return m_openEnd && m_line + 1 == m_lines.count(); }

    void nextLine()
    {
        ++m_line;
        m_lines.advance();
    }

    // Moves past the character at 'end' of the current line (a space, or the line end).
    void finishAt(std::size_t end)
    {
        if (end >= m_lines.text().size()) {
            nextLine();
            m_fresh = true;
        } else {
            m_pos = end + 1;
        }
    }

    std::string readExpression()
    {
        std::string expression;
        int depth = 0;
        bool inString = false;
        bool escaped = false;
        for (;;) {
            const std::string_view text = m_lines.text();
            bool comment = false;
            for (std::size_t i = m_pos; i < text.size(); ++i) {
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
                    m_untyped = i + 1 >= text.size() && lastLineOpen();
                    if (i + 1 < text.size() && text[i + 1] != ' ') {
                        m_pos = i + 1;
                    } else {
                        finishAt(i + 1);
                    }
                    return expression;
                }
            }
            // Still open at the line end: the expression goes on on the next line.
            nextLine();
            m_fresh = true;
            if (m_line >= m_lines.count()) {
                m_untyped = m_openEnd;
                return expression;
            }
            expression += '\n';
            m_pos = 0;
            m_fresh = false;
        }
    }

    ScriptLines m_lines;
    Host& m_host;
    std::function<bool(std::size_t, std::size_t)> m_keepGoing;
    std::size_t m_line = 0;
    std::size_t m_pos = 0;
    bool m_fresh = true;
    bool m_openEnd = false; // no line end after the last line
    bool m_untyped = false; // the expression just read ends where the host is never given its Enter
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
                   std::to_string(outcome.status) + " unmodelled=" + std::to_string(outcome.unmodelled) +
                       (outcome.leftWaiting ? " left waiting" : ""),
                   {}, {}});
    return outcome;
}

} // namespace qv::hostmodel
