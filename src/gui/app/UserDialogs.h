#pragma once

#include "Message.h"

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace qv {

// Every message box, input box and file or folder dialog goes through this service, so tests can
// script the answers and unattended runs never wait for a person.
class UserDialogs
{
public:
    virtual ~UserDialogs() = default;

    virtual MessageAnswer message(const UserMessage& message) = 0;
    // Returns nothing on Cancel.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& initial) = 0;
    // Filters use the "Name (*.ext)|*.ext|..." form; the first filter is selected. Empty list on Cancel.
    virtual QStringList openFileNames(const QString& title, const QString& filter, const QString& folder,
                                      bool multiple) = 0;
    // Asks before overwriting. Nothing on Cancel.
    virtual std::optional<QString> saveFileName(const QString& title, const QString& filter, const QString& folder) = 0;
    virtual std::optional<QString> browseFolder(const QString& title, const QString& folder) = 0;
    // Opens a local document (the help page) with the desktop's viewer.
    virtual bool openDocument(const QString& path) = 0;
    // A question with a "Don't ask again" box; `optedOut` tells whether the box was ticked. Where nobody can
    // tick it (an unattended run) the message alone is shown.
    virtual MessageAnswer askWithOptOut(const UserMessage& message, bool& optedOut)
    {
        optedOut = false;
        return this->message(message);
    }

    // Convenience for the common message shapes.
    MessageAnswer show(const std::string& text, const std::string& title, MessageIcon icon,
                       MessageButtons buttons = MessageButtons::Ok)
    {
        return message(UserMessage{text, title, icon, buttons});
    }
};

// The default button of a message box: what an unattended run answers.
MessageAnswer defaultAnswer(MessageButtons buttons);

// "Dwg Files (*.dwg)|*.dwg|All Files (*.*)|*.*" -> "Dwg Files (*.dwg);;All Files (*.*)".
QString toQtFilter(const QString& filter);

// The window that dialogs are shown over (the active modal window, else the main window).
QWidget* dialogParent();

} // namespace qv
