#include "LispInternal.h"
#include "ScriptText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

// The string functions: strcat, substr, strcase, the conversions between numbers and text, and the Visual LISP
// string functions. Strings are UTF-8 and counted in characters, as the host counts them.

namespace qv::hostmodel::lisp {
namespace {

// --- Characters

std::size_t charWidth(std::string_view s, std::size_t i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t n = b < 0xC2 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 1;
    if (n == 1 || i + n > s.size())
        return 1;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 1;
    return n;
}

} // namespace

std::size_t charCount(std::string_view s)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); i += charWidth(s, i))
        ++count;
    return count;
}

std::size_t byteOffset(std::string_view s, std::size_t chars)
{
    std::size_t i = 0;
    for (; chars > 0 && i < s.size(); --chars)
        i += charWidth(s, i);
    return i;
}

std::u32string decode(std::string_view s)
{
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = charWidth(s, i);
        auto cp = static_cast<char32_t>(static_cast<unsigned char>(s[i]));
        if (n > 1) {
            cp &= (0x7F >> n);
            for (std::size_t k = 1; k < n; ++k)
                cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        }
        out += cp;
        i += n;
    }
    return out;
}

// --- The functions

namespace {

std::string utf8Of(char32_t codePoint)
{
    std::string out;
    appendUtf8(out, codePoint);
    return out;
}

// The longest leading number of a text, for atoi and atof (which, like C's, ignore what follows).
std::string_view leadingNumber(std::string_view s, bool allowReal)
{
    std::size_t start = 0;
    while (start < s.size() && isBlank(s[start]))
        ++start;
    std::size_t i = start;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (allowReal && i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return {};
    if (allowReal && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            i = j;
        }
    }
    return s.substr(start, i - start);
}

LispValue strcatOf(Items& args)
{
    std::string out;
    for (const LispValue& a : args) {
        out += needString(a);
        if (out.size() > kMaxStringLength)
            fail("insufficient string space");
    }
    return LispValue::fromString(std::move(out));
}

LispValue substrOf(Items& args)
{
    const std::string& s = needString(args[0]);
    const long long start = needFixnum(args[1]);
    if (start < 1)
        fail("bad argument value: positive " + printLisp(args[1]));
    const std::size_t from = byteOffset(s, static_cast<std::size_t>(start - 1));
    std::size_t to = s.size();
    if (args.size() > 2 && !args[2].isNil()) {
        const long long length = needFixnum(args[2]);
        if (length < 0)
            fail("bad argument value: non-negative " + printLisp(args[2]));
        to = from + byteOffset(std::string_view(s).substr(from), static_cast<std::size_t>(length));
    }
    return LispValue::fromString(s.substr(from, to - from));
}

// rtos in decimal (2) and scientific (1) units; LUNITS, LUPREC and DIMZIN supply the defaults as in the host.
LispValue rtosOf(Interpreter& in, Items& args)
{
    const double value = needNumber(args[0]);
    auto hostInteger = [&](const char* name, long long fallback) {
        const auto v = in.m_host.getvar(name);
        return v && v->kind == Kind::Integer ? v->integer : fallback;
    };
    const long long mode = args.size() > 1 && !args[1].isNil() ? needFixnum(args[1]) : hostInteger("LUNITS", 2);
    long long precision = args.size() > 2 && !args[2].isNil() ? needFixnum(args[2]) : hostInteger("LUPREC", 4);
    if (mode < 1 || mode > 5)
        fail("bad argument value: " + printLisp(LispValue::fromInteger(mode)));
    if (mode > 2)
        fail("rtos units mode " + std::to_string(mode) + " is not modelled by this host");
    precision = std::clamp(precision, 0LL, 8LL);
    if (!std::isfinite(value))
        return LispValue::fromString(realText(value));
    char buf[512];
    const auto format = mode == 1 ? std::chars_format::scientific : std::chars_format::fixed;
    const auto end = std::to_chars(buf, buf + sizeof buf, value, format, static_cast<int>(precision)).ptr;
    std::string text(buf, end);
    if (mode == 1) {
        std::replace(text.begin(), text.end(), 'e', 'E');
        return LispValue::fromString(text);
    }
    const long long dimzin = hostInteger("DIMZIN", 0);
    if ((dimzin & 8) && text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    if (dimzin & 4) {
        const std::size_t digit = text.front() == '-' ? 1 : 0;
        if (text.size() > digit + 1 && text[digit] == '0' && text[digit + 1] == '.')
            text.erase(digit, 1);
    }
    if (text == "-0")
        text = "0";
    return LispValue::fromString(text);
}

LispValue atoiOf(Items& args)
{
    const std::string_view digits = leadingNumber(needString(args[0]), false);
    long long value = 0;
    for (const char c : digits)
        if (isDigit(c) && value < 100000000000LL)
            value = value * 10 + (c - '0');
    return LispValue::fromInteger(wrap32(!digits.empty() && digits.front() == '-' ? -value : value));
}

LispValue atofOf(Items& args)
{
    std::string_view number = leadingNumber(needString(args[0]), true);
    if (!number.empty() && number.front() == '+')
        number.remove_prefix(1);
    double value = 0;
    if (!number.empty())
        std::from_chars(number.data(), number.data() + number.size(), value);
    return LispValue::fromReal(value);
}

LispValue stringSubst(Items& args)
{
    const std::string& replacement = needString(args[0]);
    const std::string& pattern = needString(args[1]);
    std::string text = needString(args[2]);
    const std::size_t start =
        args.size() > 3 ? byteOffset(text, static_cast<std::size_t>(std::max(0LL, needFixnum(args[3])))) : 0;
    const std::size_t at = text.find(pattern, start);
    if (at == std::string::npos)
        return LispValue::fromString(std::move(text));
    text.replace(at, pattern.size(), replacement);
    return LispValue::fromString(checkedString(std::move(text)));
}

LispValue stringSearch(Items& args)
{
    const std::string& pattern = needString(args[0]);
    const std::string& text = needString(args[1]);
    const std::size_t start =
        args.size() > 2 ? byteOffset(text, static_cast<std::size_t>(std::max(0LL, needFixnum(args[2])))) : 0;
    const std::size_t at = text.find(pattern, start);
    if (at == std::string::npos)
        return LispValue::nil();
    return LispValue::fromInteger(static_cast<long long>(charCount(std::string_view(text).substr(0, at))));
}

} // namespace

void addStringFunctions(BuiltinTable& table)
{
    using In = Interpreter;
    table.insert({
        {"STRCAT", subr(0, -1, [](In&, Items& a) { return strcatOf(a); })},
        {"STRLEN", subr(0, -1,
                        [](In&, Items& a) {
                            std::size_t length = 0;
                            for (const LispValue& v : a)
                                length += charCount(needString(v));
                            return LispValue::fromInteger(static_cast<long long>(length));
                        })},
        {"SUBSTR", subr(2, 3, [](In&, Items& a) { return substrOf(a); })},
        {"STRCASE", subr(1, 2,
                         [](In&, Items& a) {
                             const std::string& s = needString(a[0]);
                             return LispValue::fromString(a.size() > 1 && !a[1].isNil() ? toLower(s) : toUpper(s));
                         })},
        {"ITOA", subr(1, 1, [](In&, Items& a) { return LispValue::fromString(std::to_string(needFixnum(a[0]))); })},
        {"ATOI", subr(1, 1, [](In&, Items& a) { return atoiOf(a); })},
        {"ATOF", subr(1, 1, [](In&, Items& a) { return atofOf(a); })},
        {"RTOS", subr(1, 3, rtosOf)},
        {"ASCII", subr(1, 1,
                       [](In&, Items& a) {
                           const std::u32string s = decode(needString(a[0]));
                           return LispValue::fromInteger(s.empty() ? 0 : static_cast<long long>(s.front()));
                       })},
        {"CHR", subr(1, 1,
                     [](In&, Items& a) {
                         const long long code = needFixnum(a[0]);
                         if (code < 0 || code > 0x10FFFF)
                             fail("bad argument value: " + printLisp(a[0]));
                         return LispValue::fromString(utf8Of(static_cast<char32_t>(code)));
                     })},
        {"VL-STRING-SUBST", subr(3, 4, [](In&, Items& a) { return stringSubst(a); })},
        {"VL-STRING-SEARCH", subr(2, 3, [](In&, Items& a) { return stringSearch(a); })},
        {"VL-PRINC-TO-STRING", subr(1, 1,
                                    [](In&, Items& a) {
                                        return LispValue::fromString(a[0].kind == Kind::String ? a[0].text
                                                                                               : printLisp(a[0]));
                                    })},
        {"VL-PRIN1-TO-STRING", subr(1, 1, [](In&, Items& a) { return LispValue::fromString(printLisp(a[0])); })},
    });
}

} // namespace qv::hostmodel::lisp
