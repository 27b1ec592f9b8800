#include "LispInternal.h"

#include <algorithm>
#include <cstddef>

// The list functions. Lists are proper lists: dotted pairs are not modelled.

namespace qv::hostmodel::lisp {
namespace {

LispValue car(const LispValue& v)
{
    const Items& items = needList(v, "consp");
    return items.empty() ? LispValue::nil() : items.front();
}

LispValue cdr(const LispValue& v)
{
    const Items& items = needList(v, "consp");
    if (items.size() < 2)
        return LispValue::nil();
    return LispValue::list(Items(items.begin() + 1, items.end()));
}

LispValue consOf(Items& args)
{
    if (!args[1].isNil() && args[1].kind != Kind::List)
        fail("dotted pairs are not modelled by this host: (cons " + printLisp(args[0]) + ' ' + printLisp(args[1]) +
             ')');
    Items items;
    items.reserve(args[1].items.size() + 1);
    items.push_back(std::move(args[0]));
    for (LispValue& v : args[1].items)
        items.push_back(std::move(v));
    return LispValue::list(std::move(items));
}

LispValue appendOf(Items& args)
{
    Items items;
    for (LispValue& a : args) {
        needList(a);
        for (LispValue& v : a.items)
            items.push_back(std::move(v));
    }
    return makeList(std::move(items));
}

LispValue memberOf(Items& args)
{
    const Items& items = needList(args[1]);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (lispEqual(args[0], items[i], 0))
            return LispValue::list(Items(items.begin() + static_cast<std::ptrdiff_t>(i), items.end()));
    return LispValue::nil();
}

LispValue assocOf(Items& args)
{
    for (const LispValue& entry : needList(args[1]))
        if (entry.kind == Kind::List && !entry.items.empty() && lispEqual(args[0], entry.items.front(), 0))
            return entry;
    return LispValue::nil();
}

LispValue removeOf(Items& args)
{
    Items kept;
    for (const LispValue& v : needList(args[1]))
        if (!lispEqual(args[0], v, 0))
            kept.push_back(v);
    return makeList(std::move(kept));
}

LispValue positionOf(Items& args)
{
    const Items& items = needList(args[1]);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (lispEqual(args[0], items[i], 0))
            return LispValue::fromInteger(static_cast<long long>(i));
    return LispValue::nil();
}

LispValue nthOf(Items& args)
{
    const long long n = needFixnum(args[0]);
    const Items& items = needList(args[1]);
    if (n < 0 || static_cast<std::size_t>(n) >= items.size())
        return LispValue::nil();
    return items[static_cast<std::size_t>(n)];
}

} // namespace

void addListFunctions(BuiltinTable& table)
{
    using In = Interpreter;
    table.insert({
        {"LIST", subr(0, -1, [](In&, Items& a) { return makeList(std::move(a)); })},
        {"CONS", subr(2, 2, [](In&, Items& a) { return consOf(a); })},
        {"CAR", subr(1, 1, [](In&, Items& a) { return car(a[0]); })},
        {"CDR", subr(1, 1, [](In&, Items& a) { return cdr(a[0]); })},
        {"CADR", subr(1, 1, [](In&, Items& a) { return car(cdr(a[0])); })},
        {"CDDR", subr(1, 1, [](In&, Items& a) { return cdr(cdr(a[0])); })},
        {"CADDR", subr(1, 1, [](In&, Items& a) { return car(cdr(cdr(a[0]))); })},
        {"CAAR", subr(1, 1, [](In&, Items& a) { return car(car(a[0])); })},
        {"LAST", subr(1, 1,
                      [](In&, Items& a) {
                          const Items& items = needList(a[0]);
                          return items.empty() ? LispValue::nil() : items.back();
                      })},
        {"NTH", subr(2, 2, [](In&, Items& a) { return nthOf(a); })},
        {"LENGTH",
         subr(1, 1,
              [](In&, Items& a) { return LispValue::fromInteger(static_cast<long long>(needList(a[0]).size())); })},
        {"APPEND", subr(0, -1, [](In&, Items& a) { return appendOf(a); })},
        {"REVERSE", subr(1, 1,
                         [](In&, Items& a) {
                             needList(a[0]);
                             std::reverse(a[0].items.begin(), a[0].items.end());
                             return std::move(a[0]);
                         })},
        {"MEMBER", subr(2, 2, [](In&, Items& a) { return memberOf(a); })},
        {"ASSOC", subr(2, 2, [](In&, Items& a) { return assocOf(a); })},
        {"VL-REMOVE", subr(2, 2, [](In&, Items& a) { return removeOf(a); })},
        {"VL-POSITION", subr(2, 2, [](In&, Items& a) { return positionOf(a); })},
    });
}

} // namespace qv::hostmodel::lisp
