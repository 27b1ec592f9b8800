#pragma once

#include <string>
#include <utility>
#include <variant>

namespace qv {

// Error numbers as the user sees them in "Error Number N in routine ..." messages.
enum ErrorNumber : int {
    ErrInvalidProcedureCall = 5,
    ErrOutOfMemory = 7,
    ErrBadFileNameOrNumber = 52,
    ErrFileNotFound = 53,
    ErrBadFileMode = 54,
    ErrFileAlreadyOpen = 55,
    ErrDeviceIo = 57,
    ErrDiskFull = 61,
    ErrInputPastEnd = 62,
    ErrPermissionDenied = 70,
    ErrPathFileAccess = 75,
    ErrPathNotFound = 76,
    ErrInvalidText = 93, // text that cannot be stored (code page, line breaks, length)
};

// A failure reported by the core: its number and a description for the user.
struct Error
{
    int number = 0;
    std::string description;
};

// The standard description of an error number, as shown after "Error Number N ...".
std::string describeErrorNumber(int number);

// An Error with the standard description, optionally naming the file concerned.
Error makeError(int number, const std::string& path = {});

// "Error Number N in routine NAME " + two line breaks + description.
std::string formatErrorMessage(const Error& error, const std::string& routine);

// A value or an Error. Exceptions never cross a module edge; this does.
template <typename T>
class [[nodiscard]] Result
{
public:
    Result(T value) : m_state(std::move(value)) {}
    Result(Error error) : m_state(std::move(error)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(m_state); }
    const T& value() const& { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    const Error& error() const { return std::get<1>(m_state); }

    T valueOr(T fallback) const { return ok() ? value() : std::move(fallback); }

private:
    std::variant<T, Error> m_state;
};

template <>
class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Error error) : m_error(std::move(error)), m_failed(true) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return m_error; }

private:
    Error m_error;
    bool m_failed = false;
};

using Status = Result<void>;

} // namespace qv
