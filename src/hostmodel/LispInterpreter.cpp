#include "LispInternal.h"

#include <algorithm>
#include <exception>
#include <new>
#include <numbers>

// The evaluator: symbols, calls of built-in and user functions, and the limits that stop a runaway script.

namespace qv::hostmodel {
namespace lisp {
namespace {

class DepthGuard
{
public:
    explicit DepthGuard(int& depth) : m_depth(depth)
    {
        if (m_depth >= kMaxDepth)
            fail(kStackLimit);
        ++m_depth;
    }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& m_depth;
};

void checkArity(const Builtin& b, std::size_t count)
{
    if (count < static_cast<std::size_t>(b.minArgs))
        fail("too few arguments");
    if (b.maxArgs >= 0 && count > static_cast<std::size_t>(b.maxArgs))
        fail("too many arguments");
}

// The built-in functions of every family, by upper-case name; built once.
const BuiltinTable& builtins()
{
    static const BuiltinTable table = [] {
        BuiltinTable all;
        addControlForms(all);
        addNumberFunctions(all);
        addStringFunctions(all);
        addWildcardFunctions(all);
        addFileNameFunctions(all);
        addListFunctions(all);
        addHostFunctions(all);
        addFileFunctions(all);
        return all;
    }();
    return table;
}

void measure(const LispValue& v, int depth, int& maxDepth, std::size_t& weight)
{
    maxDepth = std::max(maxDepth, depth);
    weight += 1 + v.text.size() / 8;
    if (depth > kMaxDepth + 1)
        return; // deep enough to refuse; no need to walk further
    for (const LispValue& item : v.items)
        measure(item, depth + 1, maxDepth, weight);
}

} // namespace

void Interpreter::charge(const LispValue& value)
{
    if (value.kind != Kind::List) {
        spend(1 + static_cast<long long>(value.text.size() / 8));
        return;
    }
    int maxDepth = 0;
    std::size_t weight = 0;
    measure(value, 0, maxDepth, weight);
    if (maxDepth > kMaxDepth)
        fail(kStackLimit);
    if (weight > kMaxValueWeight)
        fail("insufficient node space");
    spend(static_cast<long long>(weight));
}

LispValue Interpreter::lookup(const std::string& name)
{
    auto& symbols = m_host.symbols();
    if (const auto it = symbols.find(name); it != symbols.end()) {
        charge(it->second);
        return it->second;
    }
    if (name == "T")
        return LispValue::t();
    if (name == "PI")
        return LispValue::fromReal(std::numbers::pi);
    return LispValue::nil();
}

void Interpreter::assign(const std::string& name, LispValue value)
{
    auto& symbols = m_host.symbols();
    if (value.isNil())
        symbols.erase(name); // a symbol whose value is nil is unbound
    else
        symbols.insert_or_assign(name, std::move(value));
}

LispValue Interpreter::eval(const LispValue& form)
{
    spend(1);
    switch (form.kind) {
    case Kind::Symbol:
        return lookup(form.text);
    case Kind::List:
        if (!form.items.empty()) {
            DepthGuard guard(m_depth);
            return evalCall(form);
        }
        return LispValue::nil();
    case Kind::String:
        charge(form);
        return form;
    default:
        return form;
    }
}

LispValue Interpreter::evalBody(Forms body)
{
    LispValue last;
    for (const LispValue& form : body)
        last = eval(form);
    return last;
}

Items Interpreter::evalArgs(Forms forms)
{
    Items args;
    args.reserve(forms.size());
    for (const LispValue& form : forms)
        args.push_back(eval(form));
    return args;
}

LispValue Interpreter::evalCall(const LispValue& form)
{
    const LispValue& head = form.items.front();
    const Forms rest = Forms(form.items).subspan(1);
    if (head.kind == Kind::Symbol) {
        // A symbol with a value (a defun, a lambda) takes precedence over the built-in function of that name.
        LispValue value = lookup(head.text);
        if (value.kind == Kind::List)
            return callUser(value, evalArgs(rest));
        if (!value.isNil() && head.text != "T")
            fail("bad function: " + printLisp(value));
        const auto& table = builtins();
        const auto it = table.find(head.text);
        if (it == table.end())
            fail("no function definition: " + head.text);
        const Builtin& b = it->second;
        if (b.special) {
            checkArity(b, rest.size());
            return b.special(*this, rest);
        }
        Items args = evalArgs(rest);
        checkArity(b, args.size());
        return b.subr(*this, args);
    }
    if (head.kind == Kind::List)
        return callValue(eval(head), evalArgs(rest));
    fail("bad function: " + printLisp(head));
}

LispValue Interpreter::callValue(const LispValue& function, Items args)
{
    if (function.kind == Kind::List && !function.items.empty())
        return callUser(function, std::move(args));
    if (function.kind != Kind::Symbol)
        fail("bad function: " + printLisp(function));
    const auto& symbols = m_host.symbols();
    if (const auto it = symbols.find(function.text); it != symbols.end()) {
        if (it->second.kind != Kind::List)
            fail("bad function: " + printLisp(it->second));
        const LispValue user = it->second;
        return callUser(user, std::move(args));
    }
    const auto& table = builtins();
    const auto it = table.find(function.text);
    if (it == table.end())
        fail("no function definition: " + function.text);
    if (!it->second.subr)
        fail("bad function: " + function.text);
    checkArity(it->second, args.size());
    return it->second.subr(*this, args);
}

LispValue Interpreter::callUser(const LispValue& function, Items args)
{
    DepthGuard guard(m_depth);
    const Items& items = function.items;
    const std::size_t start = items.front().kind == Kind::Symbol && items.front().text == "LAMBDA" ? 1 : 0;
    if (start >= items.size() || (!items[start].isNil() && items[start].kind != Kind::List))
        fail("bad function: " + printLisp(function));

    // (parameters / locals)
    std::vector<std::string> parameters;
    std::vector<std::string> locals;
    bool afterSlash = false;
    for (const LispValue& p : items[start].items) {
        if (p.kind == Kind::Symbol && p.text == "/" && !afterSlash) {
            afterSlash = true;
            continue;
        }
        (afterSlash ? locals : parameters).push_back(needVariable(p));
    }
    if (args.size() < parameters.size())
        fail("too few arguments");
    if (args.size() > parameters.size())
        fail("too many arguments");

    LocalBindings bindings(*this);
    for (std::size_t i = 0; i < parameters.size(); ++i)
        bindings.bind(parameters[i], std::move(args[i]));
    for (const std::string& local : locals)
        bindings.bind(local, LispValue::nil());
    return evalBody(Forms(items).subspan(start + 1));
}

} // namespace lisp

LispOutcome evaluateLisp(std::string_view text, LispHost& host)
{
    LispOutcome outcome;
    try {
        // The whole text is read before anything runs, so a malformed text has no effect on the drawing.
        const lisp::Items forms = lisp::readForms(text);
        lisp::Interpreter interpreter(host);
        for (const LispValue& form : forms)
            outcome.value = interpreter.eval(form);
    } catch (const lisp::LispError& e) {
        outcome.value = LispValue::nil();
        outcome.error = e.message;
    } catch (const std::bad_alloc&) {
        outcome.value = LispValue::nil();
        outcome.error = "; error: insufficient node space";
    } catch (const std::exception& e) {
        outcome.value = LispValue::nil();
        outcome.error = std::string("; error: ") + e.what();
    }
    return outcome;
}

} // namespace qv::hostmodel
