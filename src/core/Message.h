#pragma once

#include <functional>
#include <string>

namespace qv {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// A message for the user as the core decides it; the user interface only shows it.
struct UserMessage
{
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;

    bool operator==(const UserMessage&) const = default;
};

// How the core asks the user something in the middle of an operation (the user interface supplies
// it; tests script the answers). Never null where an operation takes one.
using AskUser = std::function<MessageAnswer(const UserMessage&)>;

// The standard error message: critical icon, title "Quorvel Error", "Error Number N in routine ...".
UserMessage errorMessage(const struct Error& error, const std::string& routine);

} // namespace qv
