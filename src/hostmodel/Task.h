#pragma once

#include <coroutine>
#include <exception>
#include <optional>
#include <utility>

namespace qv::hostmodel {

// A lazily started coroutine that another coroutine awaits. The host's commands are written as such
// coroutines: each one reads like the host's transcript, pulling its answers one prompt at a time, and
// the whole chain suspends when the script has no entry ready yet.
template <typename T = void>
class Task;

namespace detail {

struct PromiseBase
{
    std::coroutine_handle<> continuation = std::noop_coroutine();
    std::exception_ptr error;

    struct FinalAwaiter
    {
        bool await_ready() noexcept { return false; }
        template <typename Promise>
        std::coroutine_handle<> await_suspend(std::coroutine_handle<Promise> handle) noexcept
        {
            return handle.promise().continuation;
        }
        void await_resume() noexcept {}
    };

    std::suspend_always initial_suspend() noexcept { return {}; }
    FinalAwaiter final_suspend() noexcept { return {}; }
    void unhandled_exception() noexcept { error = std::current_exception(); }
};

template <typename T>
struct Promise : PromiseBase
{
    std::optional<T> value;
    Task<T> get_return_object() noexcept;
    void return_value(T result) { value = std::move(result); }
};

template <>
struct Promise<void> : PromiseBase
{
    Task<void> get_return_object() noexcept;
    void return_void() noexcept {}
};

} // namespace detail

template <typename T>
class Task
{
public:
    using promise_type = detail::Promise<T>;
    using Handle = std::coroutine_handle<promise_type>;

    explicit Task(Handle handle) : m_handle(handle) {}
    Task(Task&& other) noexcept : m_handle(std::exchange(other.m_handle, {})) {}
    Task& operator=(Task&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_handle = std::exchange(other.m_handle, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { reset(); }

    bool await_ready() const noexcept { return false; }
    std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiting) noexcept
    {
        m_handle.promise().continuation = awaiting;
        return m_handle;
    }
    T await_resume()
    {
        if (m_handle.promise().error) {
            std::rethrow_exception(m_handle.promise().error);
        }
        if constexpr (!std::is_void_v<T>) {
            return std::move(*m_handle.promise().value);
        }
    }

    // For the driver at the top of the chain: runs the task until it first suspends or ends.
    void start() { m_handle.resume(); }
    bool done() const { return !m_handle || m_handle.done(); }
    // Rethrows what ended the task, if anything did.
    void rethrow() const
    {
        if (m_handle && m_handle.promise().error) {
            std::rethrow_exception(m_handle.promise().error);
        }
    }

private:
    void reset()
    {
        if (m_handle) {
            m_handle.destroy();
            m_handle = {};
        }
    }

    Handle m_handle;
};

namespace detail {

template <typename T>
Task<T> Promise<T>::get_return_object() noexcept
{
    return Task<T>(std::coroutine_handle<Promise<T>>::from_promise(*this));
}

inline Task<void> Promise<void>::get_return_object() noexcept
{
    return Task<void>(std::coroutine_handle<Promise<void>>::from_promise(*this));
}

} // namespace detail

} // namespace qv::hostmodel
