#include "Message.h"

#include "Result.h"

namespace qv {

UserMessage ErrorMessage(const Error& error, const std::string& routine)
{
    return UserMessage{FormatErrorMessage(error, routine), "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok};
}

} // namespace qv
