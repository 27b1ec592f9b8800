#include "LispInternal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

// Arithmetic, comparisons and the tests of a value's type.

namespace qv::hostmodel::lisp {
namespace {

LispValue arithmetic(Items& args, char op)
{
    if (args.empty())
        return LispValue::fromInteger(0);
    LispValue acc = std::move(args[0]);
    needNumber(acc);
    if (args.size() == 1 && op == '-')
        return acc.kind == Kind::Integer ? LispValue::fromInteger(wrap32(-acc.integer))
                                         : LispValue::fromReal(-acc.real);
    for (std::size_t i = 1; i < args.size(); ++i) {
        const LispValue& b = args[i];
        needNumber(b);
        if (acc.kind == Kind::Integer && b.kind == Kind::Integer) {
            const long long x = acc.integer, y = b.integer;
            if ((op == '/' || op == '%') && y == 0)
                fail("divide by zero");
            const long long r = op == '+' ? x + y : op == '-' ? x - y : op == '*' ? x * y : op == '/' ? x / y : x % y;
            acc = LispValue::fromInteger(wrap32(r));
        } else {
            const double x = numberOf(acc), y = numberOf(b);
            if ((op == '/' || op == '%') && y == 0)
                fail("divide by zero");
            acc = LispValue::fromReal(op == '+'   ? x + y
                                      : op == '-' ? x - y
                                      : op == '*' ? x * y
                                      : op == '/' ? x / y
                                                  : std::fmod(x, y));
        }
    }
    return acc;
}

// Compares two values for =, /=, < and friends: numbers by value, strings by character codes.
int compareOrdered(const LispValue& a, const LispValue& b)
{
    if (a.kind == Kind::String) {
        const int c = a.text.compare(needString(b));
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    const double x = needNumber(a), y = needNumber(b);
    return x < y ? -1 : x > y ? 1 : 0;
}

// Applies a test to each pair of neighbouring arguments, as =, /=, < and friends do.
template <typename Test> LispValue chain(const Items& args, Test test)
{
    if (args.size() == 1)
        test(args[0], args[0]); // a single argument is still type-checked
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        if (!test(args[i], args[i + 1]))
            return LispValue::nil();
    return LispValue::t();
}

LispValue typeOf(Items& args)
{
    switch (args[0].kind) {
    case Kind::Nil:
        return LispValue::nil();
    case Kind::Integer:
        return LispValue::symbol("INT");
    case Kind::Real:
        return LispValue::symbol("REAL");
    case Kind::String:
        return LispValue::symbol("STR");
    case Kind::List:
        return args[0].items.empty() ? LispValue::nil() : LispValue::symbol("LIST");
    case Kind::File:
        return LispValue::symbol("FILE");
    default:
        return LispValue::symbol("SYM");
    }
}

} // namespace

void addNumberFunctions(BuiltinTable& table)
{
    using In = Interpreter;
    table.insert({
        {"+", subr(0, -1, [](In&, Items& a) { return arithmetic(a, '+'); })},
        {"-", subr(0, -1, [](In&, Items& a) { return arithmetic(a, '-'); })},
        {"*", subr(0, -1, [](In&, Items& a) { return arithmetic(a, '*'); })},
        {"/", subr(0, -1, [](In&, Items& a) { return arithmetic(a, '/'); })},
        {"REM", subr(1, -1, [](In&, Items& a) { return arithmetic(a, '%'); })},
        {"1+", subr(1, 1,
                    [](In&, Items& a) {
                        Items two{std::move(a[0]), LispValue::fromInteger(1)};
                        return arithmetic(two, '+');
                    })},
        {"1-", subr(1, 1,
                    [](In&, Items& a) {
                        Items two{std::move(a[0]), LispValue::fromInteger(1)};
                        return arithmetic(two, '-');
                    })},
        {"ABS", subr(1, 1,
                     [](In&, Items& a) {
                         needNumber(a[0]);
                         return a[0].kind == Kind::Integer ? LispValue::fromInteger(wrap32(std::llabs(a[0].integer)))
                                                           : LispValue::fromReal(std::fabs(a[0].real));
                     })},
        {"FIX", subr(1, 1,
                     [](In&, Items& a) {
                         const double t = std::trunc(needNumber(a[0]));
                         // Beyond the integer range the host gives back the truncated real.
                         if (t >= INT32_MIN && t <= INT32_MAX)
                             return LispValue::fromInteger(static_cast<long long>(t));
                         return LispValue::fromReal(t);
                     })},
        {"FLOAT", subr(1, 1, [](In&, Items& a) { return LispValue::fromReal(needNumber(a[0])); })},
        {"MAX", subr(1, -1,
                     [](In&, Items& a) {
                         bool real = false;
                         for (const LispValue& v : a) {
                             needNumber(v);
                             real = real || v.kind == Kind::Real;
                         }
                         auto best = std::max_element(a.begin(), a.end(), [](const LispValue& x, const LispValue& y) {
                             return numberOf(x) < numberOf(y);
                         });
                         return real ? LispValue::fromReal(numberOf(*best)) : *best;
                     })},
        {"MIN", subr(1, -1,
                     [](In&, Items& a) {
                         bool real = false;
                         for (const LispValue& v : a) {
                             needNumber(v);
                             real = real || v.kind == Kind::Real;
                         }
                         auto best = std::min_element(a.begin(), a.end(), [](const LispValue& x, const LispValue& y) {
                             return numberOf(x) < numberOf(y);
                         });
                         return real ? LispValue::fromReal(numberOf(*best)) : *best;
                     })},
        {"ZEROP", subr(1, 1, [](In&, Items& a) { return boolean(needNumber(a[0]) == 0); })},
        {"MINUSP", subr(1, 1, [](In&, Items& a) { return boolean(needNumber(a[0]) < 0); })},
        {"NUMBERP", subr(1, 1, [](In&, Items& a) { return boolean(isNumber(a[0])); })},
        // comparisons and logic
        {"=", subr(1, -1, [](In&, Items& a) { return chain(a, [](auto& x, auto& y) { return lispEqual(x, y, 0); }); })},
        {"/=",
         subr(1, -1, [](In&, Items& a) { return chain(a, [](auto& x, auto& y) { return !lispEqual(x, y, 0); }); })},
        {"<", subr(1, -1,
                   [](In&, Items& a) {
                       return chain(a, [](auto& x, auto& y) {
                           const int c = compareOrdered(x, y);
                           return c < 0;
                       });
                   })},
        {">", subr(1, -1,
                   [](In&, Items& a) {
                       return chain(a, [](auto& x, auto& y) {
                           const int c = compareOrdered(x, y);
                           return c > 0;
                       });
                   })},
        {"<=", subr(1, -1,
                    [](In&, Items& a) {
                        return chain(a, [](auto& x, auto& y) {
                            const int c = compareOrdered(x, y);
                            return c <= 0;
                        });
                    })},
        {">=", subr(1, -1,
                    [](In&, Items& a) {
                        return chain(a, [](auto& x, auto& y) {
                            const int c = compareOrdered(x, y);
                            return c >= 0;
                        });
                    })},
        {"EQ", subr(2, 2, [](In&, Items& a) { return boolean(lispEqual(a[0], a[1], 0)); })},
        {"EQUAL", subr(2, 3,
                       [](In&, Items& a) {
                           const double fuzz = a.size() > 2 ? needNumber(a[2]) : 0.0;
                           return boolean(lispEqual(a[0], a[1], fuzz));
                       })},
        {"NOT", subr(1, 1, [](In&, Items& a) { return boolean(a[0].isNil()); })},
        {"NULL", subr(1, 1, [](In&, Items& a) { return boolean(a[0].isNil()); })},
        {"ATOM", subr(1, 1, [](In&, Items& a) { return boolean(a[0].kind != Kind::List || a[0].items.empty()); })},
        {"LISTP", subr(1, 1, [](In&, Items& a) { return boolean(a[0].isNil() || a[0].kind == Kind::List); })},
        {"TYPE", subr(1, 1, [](In&, Items& a) { return typeOf(a); })},
    });
}

} // namespace qv::hostmodel::lisp
