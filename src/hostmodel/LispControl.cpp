#include "LispInternal.h"

#include <algorithm>
#include <cstdint>

// The control forms (quote, if, cond, setq, while, foreach, defun, lambda, ...) and the functions that call
// functions (eval, apply, mapcar).

namespace qv::hostmodel::lisp {
namespace {

LispValue mapcarOf(Interpreter& in, Items& args)
{
    std::size_t count = SIZE_MAX;
    for (std::size_t i = 1; i < args.size(); ++i)
        count = std::min(count, needList(args[i]).size());
    Items results;
    for (std::size_t k = 0; k < count; ++k) {
        Items callArgs;
        for (std::size_t i = 1; i < args.size(); ++i)
            callArgs.push_back(args[i].items[k]);
        results.push_back(in.callValue(args[0], std::move(callArgs)));
    }
    return makeList(std::move(results));
}

// --- Special forms: they receive their argument forms unevaluated

LispValue quoteForm(Interpreter& in, Forms f)
{
    in.charge(f[0]);
    return f[0];
}

LispValue ifForm(Interpreter& in, Forms f)
{
    if (!in.eval(f[0]).isNil())
        return in.eval(f[1]);
    return f.size() > 2 ? in.eval(f[2]) : LispValue::nil();
}

LispValue condForm(Interpreter& in, Forms f)
{
    for (const LispValue& clause : f) {
        const Items& parts = needList(clause);
        if (parts.empty())
            continue;
        LispValue test = in.eval(parts.front());
        if (!test.isNil())
            return parts.size() > 1 ? in.evalBody(Forms(parts).subspan(1)) : test;
    }
    return LispValue::nil();
}

LispValue setqForm(Interpreter& in, Forms f)
{
    if (f.size() % 2 != 0)
        fail("too few arguments");
    LispValue last;
    for (std::size_t i = 0; i < f.size(); i += 2) {
        const std::string& name = needVariable(f[i]);
        last = in.eval(f[i + 1]);
        in.charge(last);
        in.assign(name, last);
    }
    return last;
}

LispValue andForm(Interpreter& in, Forms f)
{
    for (const LispValue& form : f)
        if (in.eval(form).isNil())
            return LispValue::nil();
    return LispValue::t();
}

LispValue orForm(Interpreter& in, Forms f)
{
    for (const LispValue& form : f)
        if (!in.eval(form).isNil())
            return LispValue::t();
    return LispValue::nil();
}

LispValue whileForm(Interpreter& in, Forms f)
{
    LispValue last;
    long long count = 0;
    while (!in.eval(f[0]).isNil()) {
        Interpreter::loopStep(count);
        last = in.evalBody(f.subspan(1));
    }
    return last;
}

LispValue repeatForm(Interpreter& in, Forms f)
{
    const long long times = needFixnum(in.eval(f[0]));
    LispValue last;
    long long count = 0;
    for (long long i = 0; i < times; ++i) {
        Interpreter::loopStep(count);
        last = in.evalBody(f.subspan(1));
    }
    return last;
}

LispValue foreachForm(Interpreter& in, Forms f)
{
    const std::string& name = needVariable(f[0]);
    const LispValue list = in.eval(f[1]);
    const Items& items = needList(list);
    LocalBindings bindings(in);
    bindings.bind(name, LispValue::nil());
    LispValue last;
    for (const LispValue& item : items) {
        in.charge(item);
        in.assign(name, item);
        last = in.evalBody(f.subspan(2));
    }
    return last;
}

LispValue lambdaForm(Interpreter& in, Forms f)
{
    Items items{LispValue::symbol("LAMBDA")};
    items.insert(items.end(), f.begin(), f.end());
    LispValue lambda = LispValue::list(std::move(items));
    in.charge(lambda);
    return lambda;
}

// A function defined by defun is kept, as AutoLISP once kept it, as the list (parameters body...).
LispValue defunForm(Interpreter& in, Forms f)
{
    const std::string& name = needVariable(f[0]);
    needList(f[1]);
    LispValue function = LispValue::list(Items(f.begin() + 1, f.end()));
    in.charge(function);
    in.assign(name, std::move(function));
    return LispValue::symbol(name);
}

} // namespace

void addControlForms(BuiltinTable& table)
{
    using In = Interpreter;
    table.insert({
        {"QUOTE", special(1, 1, quoteForm)},
        {"FUNCTION", special(1, 1, quoteForm)},
        {"IF", special(2, 3, ifForm)},
        {"COND", special(0, -1, condForm)},
        {"PROGN", special(0, -1, [](In& in, Forms f) { return in.evalBody(f); })},
        {"SETQ", special(1, -1, setqForm)},
        {"AND", special(0, -1, andForm)},
        {"OR", special(0, -1, orForm)},
        {"WHILE", special(1, -1, whileForm)},
        {"REPEAT", special(1, -1, repeatForm)},
        {"FOREACH", special(2, -1, foreachForm)},
        {"LAMBDA", special(1, -1, lambdaForm)},
        {"DEFUN", special(2, -1, defunForm)},
        {"EVAL", subr(1, 1, [](In& in, Items& a) { return in.eval(a[0]); })},
        {"APPLY", subr(2, 2, [](In& in, Items& a) { return in.callValue(a[0], needList(a[1])); })},
        {"MAPCAR", subr(2, -1, mapcarOf)},
        {"SET", subr(2, 2,
                     [](In& in, Items& a) {
                         in.assign(needVariable(a[0]), a[1]);
                         return std::move(a[1]);
                     })},
    });
}

} // namespace qv::hostmodel::lisp
