#pragma once

// What the files of the AutoLISP interpreter share: the reader (LispReader.cpp), the evaluator
// (LispInterpreter.cpp), the values (LispValue.cpp) and the families of built-in functions, each in a file of its
// own that adds its functions to the table the evaluator looks names up in. Not part of the host model's API.

#include "Lisp.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qv::hostmodel::lisp {

using Kind = LispValue::Kind;
using Items = std::vector<LispValue>;
using Forms = std::span<const LispValue>;

// Limits that keep a faulty or hostile script from hanging or crashing the host that judges it.
inline constexpr int kMaxDepth = 1000;                   // nesting of the text, of the evaluation and of built lists
inline constexpr long long kMaxLoopIterations = 1000000; // per while or repeat loop
inline constexpr long long kMaxWork = 20000000;          // evaluation steps plus the size of copied values, per text
inline constexpr std::size_t kMaxValueWeight = 200000;   // list elements plus string bytes / 8 in one value
inline constexpr std::size_t kMaxStringLength = 1 << 20;

inline constexpr const char* kStackLimit = "Hard error occurred *** internal stack limit reached (simulated)";

// Ends the evaluation (or the reading) with the host's message.
struct LispError
{
    std::string message;
};

// Throws "; error: " followed by the text.
[[noreturn]] void fail(const std::string& what);

// --- Text (LispValue.cpp)

std::string toUpper(std::string text);
std::string toLower(std::string text);

inline bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A real as the command line shows it: six significant digits, always a decimal point, a three-digit exponent.
std::string realText(double v);

// AutoLISP integers are 32 bits wide and wrap around.
inline long long wrap32(long long v)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

// --- Characters (LispStrings.cpp): strings are UTF-8; a byte that does not start a well-formed sequence counts
// as one character.

std::size_t charCount(std::string_view s);
// Byte offset of the character with the given index, or the size when the text is shorter.
std::size_t byteOffset(std::string_view s, std::size_t chars);
std::u32string decode(std::string_view s);

// --- Values (LispValue.cpp)

inline LispValue boolean(bool b)
{
    return b ? LispValue::t() : LispValue::nil();
}

inline LispValue makeList(Items items)
{
    return items.empty() ? LispValue::nil() : LispValue::list(std::move(items));
}

inline bool isNumber(const LispValue& v)
{
    return v.kind == Kind::Integer || v.kind == Kind::Real;
}

inline double numberOf(const LispValue& v)
{
    return v.kind == Kind::Integer ? static_cast<double>(v.integer) : v.real;
}

// The argument checks: each gives the value or fails with the host's "bad argument type" message.
const std::string& needString(const LispValue& v);
long long needFixnum(const LispValue& v);
double needNumber(const LispValue& v);
// The elements of a list argument; nil is the empty list. `predicate` names the type in the error.
const Items& needList(const LispValue& v, const char* predicate = "listp");
// A symbol a value may be given to.
const std::string& needVariable(const LispValue& v);

// The text, or the host's error when it is longer than a string may be.
std::string checkedString(std::string text);

// equal with a tolerance for numbers; = and eq are the same with no tolerance.
bool lispEqual(const LispValue& a, const LispValue& b, double fuzz);

// --- Reader (LispReader.cpp)

// Every expression of the text; fails on a malformed or unbalanced text.
Items readForms(std::string_view text);

// --- Evaluator (LispInterpreter.cpp)

class Interpreter
{
public:
    explicit Interpreter(LispHost& lispHost) : m_host(lispHost) {}

    LispValue eval(const LispValue& form);
    LispValue evalBody(Forms body);
    LispValue callValue(const LispValue& function, Items args);

    // Charges a copied or stored value against the work limit and refuses one too large or too deep.
    void charge(const LispValue& value);
    void spend(long long units)
    {
        m_work += units;
        if (m_work > kMaxWork)
            fail("evaluation limit reached: the expression runs too long for the host to wait");
    }
    static void loopStep(long long& count)
    {
        if (++count > kMaxLoopIterations)
            fail("loop limit reached: more than " + std::to_string(kMaxLoopIterations) + " iterations");
    }

    LispValue lookup(const std::string& name);
    void assign(const std::string& name, LispValue value);

    LispHost& m_host;

private:
    LispValue evalCall(const LispValue& form);
    LispValue callUser(const LispValue& function, Items args);
    Items evalArgs(Forms forms);

    int m_depth = 0;
    long long m_work = 0;
};

// Gives symbols a value for the extent of a function call or loop and restores the old values after,
// also when an error unwinds the evaluation (AutoLISP binds dynamically).
class LocalBindings
{
public:
    explicit LocalBindings(Interpreter& in) : m_in(in) {}
    ~LocalBindings()
    {
        try {
            for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
                m_in.assign(it->first, std::move(it->second));
        } catch (...) {
            // Out of memory while restoring: the evaluation is failing anyway.
        }
    }
    LocalBindings(const LocalBindings&) = delete;
    LocalBindings& operator=(const LocalBindings&) = delete;

    void bind(const std::string& name, LispValue value)
    {
        auto& symbols = m_in.m_host.symbols();
        const auto it = symbols.find(name);
        m_saved.emplace_back(name, it == symbols.end() ? LispValue::nil() : it->second);
        m_in.assign(name, std::move(value));
    }

private:
    Interpreter& m_in;
    std::vector<std::pair<std::string, LispValue>> m_saved;
};

// --- The built-in functions, by upper-case name

using Subr = LispValue (*)(Interpreter&, Items&);
using Special = LispValue (*)(Interpreter&, Forms);

struct Builtin
{
    int minArgs = 0;
    int maxArgs = -1; // -1: any number
    Subr subr = nullptr;
    Special special = nullptr;
};

using BuiltinTable = std::unordered_map<std::string_view, Builtin>;

// A function that receives its arguments evaluated.
inline Builtin subr(int minArgs, int maxArgs, Subr run)
{
    return Builtin{minArgs, maxArgs, run, nullptr};
}

// A special form: it receives its argument forms unevaluated.
inline Builtin special(int minArgs, int maxArgs, Special run)
{
    return Builtin{minArgs, maxArgs, nullptr, run};
}

// Each family adds its functions to the table; the evaluator builds the table once from all of them.
void addControlForms(BuiltinTable& table);      // LispControl.cpp: quote, if, cond, setq, defun, mapcar, ...
void addNumberFunctions(BuiltinTable& table);   // LispNumbers.cpp: arithmetic, comparisons, type tests
void addStringFunctions(BuiltinTable& table);   // LispStrings.cpp: strcat, substr, rtos, atoi, ...
void addWildcardFunctions(BuiltinTable& table); // LispWildcards.cpp: wcmatch
void addFileNameFunctions(BuiltinTable& table); // LispFileNames.cpp: vl-filename-base, ...
void addListFunctions(BuiltinTable& table);     // LispLists.cpp: list, cons, car, nth, member, ...
void addHostFunctions(BuiltinTable& table);     // LispHostFunctions.cpp: command, getvar, setvar, layoutlist, ...
void addFileFunctions(BuiltinTable& table);     // LispFiles.cpp: open, write-line, close

} // namespace qv::hostmodel::lisp
