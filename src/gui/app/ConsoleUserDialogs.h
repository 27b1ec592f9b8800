#pragma once

#include "app/UserDialogs.h"

#include <cstdio>

namespace qv {

// Dialogs of an unattended run: every message goes to standard error (title, then text) and the
// default button is taken; file dialogs are cancelled. Nothing waits for a person.
class ConsoleUserDialogs final : public UserDialogs
{
public:
    explicit ConsoleUserDialogs(std::FILE* out = stderr) : m_out(out) {}

    MessageAnswer message(const UserMessage& message) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& initial) override;
    QStringList openFileNames(const QString& title, const QString& filter, const QString& folder,
                              bool multiple) override;
    std::optional<QString> saveFileName(const QString& title, const QString& filter, const QString& folder) override;
    std::optional<QString> browseFolder(const QString& title, const QString& folder) override;
    bool openDocument(const QString& path) override;

    // Writes a block of text as a modal window of our own would show it.
    void report(const QString& title, const QString& text);

private:
    std::FILE* m_out;
};

} // namespace qv
