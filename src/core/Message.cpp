#include "Message.h"

#include "Result.h"

namespace qv {

UserMessage errorMessage(const Error& error, const std::string& routine)
{
    return UserMessage{formatErrorMessage(error, routine), "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok};
}

} // namespace qv
