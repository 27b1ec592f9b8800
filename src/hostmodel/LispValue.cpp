#include "LispInternal.h"

#include <algorithm>
#include <charconv>
#include <cmath>

// The values of the host's AutoLISP: how they are made, compared, checked as arguments and printed.

namespace qv::hostmodel {
namespace lisp {

[[noreturn]] void fail(const std::string& what)
{
    throw LispError{"; error: " + what};
}

std::string toUpper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string toLower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// --- Numbers as text. std::to_chars is used throughout because it ignores the C locale a GUI may have set.

std::string realText(double v)
{
    if (std::isnan(v))
        return "1.#QNAN";
    if (std::isinf(v))
        return v > 0 ? "1.#INF" : "-1.#INF";
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6).ptr;
    const std::string s(buf, end);
    const std::size_t e = s.find('e');
    std::string mantissa = s.substr(0, e);
    if (mantissa.find('.') == std::string::npos)
        mantissa += ".0";
    if (e == std::string::npos)
        return mantissa;
    std::string digits = s.substr(e + 2);
    while (digits.size() < 3)
        digits.insert(0, 1, '0');
    return mantissa + 'e' + s[e + 1] + digits;
}

// --- Argument checks and comparison

const std::string& needString(const LispValue& v)
{
    if (v.kind != Kind::String)
        fail("bad argument type: stringp " + printLisp(v));
    return v.text;
}

long long needFixnum(const LispValue& v)
{
    if (v.kind != Kind::Integer)
        fail("bad argument type: fixnump: " + printLisp(v));
    return v.integer;
}

double needNumber(const LispValue& v)
{
    if (!isNumber(v))
        fail("bad argument type: numberp: " + printLisp(v));
    return numberOf(v);
}

const Items& needList(const LispValue& v, const char* predicate)
{
    static const Items empty;
    if (v.kind == Kind::Nil || (v.kind == Kind::List && v.items.empty()))
        return empty;
    if (v.kind != Kind::List)
        fail(std::string("bad argument type: ") + predicate + ' ' + printLisp(v));
    return v.items;
}

const std::string& needVariable(const LispValue& v)
{
    if (v.kind != Kind::Symbol || v.text == "T" || v.text.empty())
        fail("bad argument type: symbolp " + printLisp(v));
    return v.text;
}

std::string checkedString(std::string text)
{
    if (text.size() > kMaxStringLength)
        fail("insufficient string space");
    return text;
}

bool lispEqual(const LispValue& a, const LispValue& b, double fuzz)
{
    if (isNumber(a) && isNumber(b))
        return std::fabs(numberOf(a) - numberOf(b)) <= fuzz;
    if (a.isNil() || b.isNil())
        return a.isNil() && b.isNil();
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case Kind::String:
    case Kind::Symbol:
        return a.text == b.text;
    case Kind::List:
        return a.items.size() == b.items.size() &&
               std::equal(a.items.begin(), a.items.end(), b.items.begin(),
                          [fuzz](const LispValue& x, const LispValue& y) { return lispEqual(x, y, fuzz); });
    case Kind::File:
        return a.integer == b.integer;
    default:
        return true; // T
    }
}

} // namespace lisp

using lisp::isNumber;
using lisp::Kind;
using lisp::numberOf;
using lisp::realText;

namespace {

// A real as typed at a prompt: plain decimal notation, as short as still reads back to the same value.
std::string plainDecimal(double v)
{
    if (v == 0)
        return "0";
    char buf[512];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed).ptr;
    return std::string(buf, end);
}

void printTo(std::string& out, const LispValue& v)
{
    switch (v.kind) {
    case Kind::Nil:
        out += "nil";
        break;
    case Kind::True:
        out += 'T';
        break;
    case Kind::Integer:
        out += std::to_string(v.integer);
        break;
    case Kind::Real:
        out += realText(v.real);
        break;
    case Kind::Symbol:
        out += v.text;
        break;
    case Kind::String:
        out += '"';
        for (const char c : v.text) {
            switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\x1b':
                out += "\\e";
                break;
            default:
                out += c;
            }
        }
        out += '"';
        break;
    case Kind::List:
        if (v.items.empty()) {
            out += "nil";
            break;
        }
        out += '(';
        for (std::size_t i = 0; i < v.items.size(); ++i) {
            if (i > 0)
                out += ' ';
            printTo(out, v.items[i]);
        }
        out += ')';
        break;
    case Kind::File:
        out += "#<file \"" + v.text + "\">";
        break;
    }
}

} // namespace

LispValue LispValue::t()
{
    LispValue v;
    v.kind = Kind::True;
    return v;
}

LispValue LispValue::fromInteger(long long value)
{
    LispValue v;
    v.kind = Kind::Integer;
    v.integer = value;
    return v;
}

LispValue LispValue::fromReal(double value)
{
    LispValue v;
    v.kind = Kind::Real;
    v.real = value;
    return v;
}

LispValue LispValue::fromString(std::string value)
{
    LispValue v;
    v.kind = Kind::String;
    v.text = std::move(value);
    return v;
}

LispValue LispValue::symbol(std::string name)
{
    LispValue v;
    v.kind = Kind::Symbol;
    v.text = lisp::toUpper(std::move(name));
    return v;
}

LispValue LispValue::list(std::vector<LispValue> items)
{
    LispValue v;
    v.kind = Kind::List;
    v.items = std::move(items);
    return v;
}

std::string printLisp(const LispValue& value)
{
    std::string out;
    printTo(out, value);
    return out;
}

std::optional<std::string> lispAnswer(const LispValue& value)
{
    switch (value.kind) {
    case Kind::String:
        return value.text;
    case Kind::Integer:
        return std::to_string(value.integer);
    case Kind::Real:
        if (!std::isfinite(value.real))
            return std::nullopt;
        return plainDecimal(value.real);
    case Kind::List: {
        if (value.items.size() < 2 || value.items.size() > 3)
            return std::nullopt;
        std::string point;
        for (const LispValue& c : value.items) {
            if (!isNumber(c) || !std::isfinite(numberOf(c)))
                return std::nullopt;
            if (!point.empty())
                point += ',';
            point += c.kind == Kind::Integer ? std::to_string(c.integer) : plainDecimal(c.real);
        }
        return point;
    }
    default:
        return std::nullopt;
    }
}

} // namespace qv::hostmodel
