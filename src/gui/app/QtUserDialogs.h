#pragma once

#include "app/UserDialogs.h"

namespace qv {

// The real dialogs of the desktop.
class QtUserDialogs final : public UserDialogs
{
public:
    MessageAnswer message(const UserMessage& message) override;
    MessageAnswer askWithOptOut(const UserMessage& message, bool& optedOut) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& initial) override;
    QStringList openFileNames(const QString& title, const QString& filter, const QString& folder,
                              bool multiple) override;
    std::optional<QString> saveFileName(const QString& title, const QString& filter, const QString& folder) override;
    std::optional<QString> browseFolder(const QString& title, const QString& folder) override;
    bool openDocument(const QString& path) override;
};

} // namespace qv
