#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::hostmodel {

// A value of the host's AutoLISP: nil, T, an integer, a real, a string, a symbol or a list.
struct LispValue
{
    enum class Kind
    {
        Nil,
        True,
        Integer,
        Real,
        String,
        Symbol,
        List,
        File, // a descriptor from (open ...): `text` is the name it was opened by, `integer` its number
    };

    Kind kind = Kind::Nil;
    long long integer = 0;
    double real = 0.0;
    std::string text;              // String: the characters; Symbol: the name in upper case
    std::vector<LispValue> items;  // List

    static LispValue nil() { return {}; }
    static LispValue t();
    static LispValue fromInteger(long long value);
    static LispValue fromReal(double value);
    static LispValue fromString(std::string value);
    static LispValue symbol(std::string name);
    static LispValue list(std::vector<LispValue> items);

    bool isNil() const { return kind == Kind::Nil || (kind == Kind::List && items.empty()); }
};

// What the interpreter needs from the host it runs in.
class LispHost
{
public:
    virtual ~LispHost() = default;

    // (command ...): types one entry at the host's prompt, exactly as a script line would ("" is Enter).
    // False when the command refused the entry and ended: AutoLISP's "Function cancelled".
    virtual bool command(const std::string& entry) = 0;
    // (command) with no arguments: cancels the command in progress, as Escape does.
    virtual void cancelCommand() = 0;
    // System variables by upper-case name; nullopt for a name the host does not know (getvar gives nil).
    virtual std::optional<LispValue> getvar(const std::string& name) = 0;
    // Sets a system variable; returns an empty text, or the error message the host prints.
    virtual std::string setvar(const std::string& name, const LispValue& value) = 0;
    // The paper-space layouts of the current drawing, in tab order (the model tab not included).
    virtual std::vector<std::string> layoutList() = 0;
    // The AutoLISP symbols of the current drawing (each drawing has its own), by upper-case name.
    virtual std::map<std::string, LispValue>& symbols() = 0;
    // Puts a whole file on disk when AutoLISP closes it ("Data passed to an open file is not actually written
    // until the file is closed"); returns an empty text, or what went wrong. Without a file service: an error.
    virtual std::string writeFile(const std::string& path, const std::string& bytes);

    // A file AutoLISP opened for writing: its name and the lines written so far.
    struct OpenFile
    {
        std::string path;
        std::string pending;
    };
    // The files AutoLISP has open, by descriptor number; a descriptor is valid until its close.
    std::map<long long, OpenFile>& openFiles() { return m_openFiles; }
    long long nextFileNumber() { return ++m_fileNumbers; }

private:
    std::map<long long, OpenFile> m_openFiles;
    long long m_fileNumbers = 0;
};

// Depth of open parentheses after the text, outside strings and ';' comments; the expression is complete
// when this comes back to 0. Negative when a ')' closes more than was opened.
int lispDepth(std::string_view text);

struct LispOutcome
{
    LispValue value;
    std::string error; // empty on success, else the host's message, e.g. "; error: no function definition: FOO"
};

// Reads and evaluates every expression of the text (one or more, normally one) and returns the value of the
// last. A malformed or unbalanced text, an unknown function or a wrong argument type gives an error.
LispOutcome evaluateLisp(std::string_view text, LispHost& host);

// Reads every expression of the text without running it, as the host reads before it evaluates; nullopt
// (and the host's message in `error`) for a malformed or unbalanced text.
std::optional<std::vector<LispValue>> readLisp(std::string_view text, std::string* error = nullptr);

// The value as the host prints it at the command line: "abc" in quotes, 12, 1.5, nil, T, (A "b" 3).
std::string printLisp(const LispValue& value);

// The value as the answer to a prompt: a string without quotes, a number as written, a point list as "x,y"
// or "x,y,z"; nullopt for a value that cannot answer a prompt (nil, T, a symbol, another list).
std::optional<std::string> lispAnswer(const LispValue& value);

} // namespace qv::hostmodel
