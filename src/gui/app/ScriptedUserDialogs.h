#pragma once

#include "app/UserDialogs.h"

#include <QList>
#include <deque>
#include <variant>

namespace qv {

// Test implementation: records every call and returns queued answers. With nothing queued a message
// takes its default button and a file dialog is cancelled.
class ScriptedUserDialogs final : public UserDialogs
{
public:
    struct Call
    {
        enum Kind
        {
            Message,
            Input,
            OpenFiles,
            SaveFile,
            BrowseFolder,
            OpenDocument
        } kind;
        UserMessage message; // for Message
        QString title;       // dialog title (or the message title)
        QString filter;      // file dialogs
        QString text;        // input prompt, document path
        QString initial;     // text the input box starts with
    };

    MessageAnswer message(const UserMessage& message) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& initial) override;
    QStringList openFileNames(const QString& title, const QString& filter, const QString& folder,
                              bool multiple) override;
    std::optional<QString> saveFileName(const QString& title, const QString& filter, const QString& folder) override;
    std::optional<QString> browseFolder(const QString& title, const QString& folder) override;
    bool openDocument(const QString& path) override;
    // Recorded as a message; the "Don't ask again" box takes the next queued tick (none: unticked).
    MessageAnswer askWithOptOut(const UserMessage& message, bool& optedOut) override;

    void queueAnswer(MessageAnswer answer) { m_answers.push_back(answer); }
    void queueFiles(const QStringList& files) { m_files.push_back(files); }
    // A null QString stands for Cancel.
    void queueSaveName(const QString& name) { m_saveNames.push_back(name); }
    void queueInput(const QString& text) { m_inputs.push_back(text); }
    void queueFolder(const QString& folder) { m_folders.push_back(folder); }
    void queueOptOut(bool ticked) { m_optOuts.push_back(ticked); }
    // How many questions offered "Don't ask again".
    int optOutQuestions() const { return m_optOutQuestions; }
    // Whether the desktop has a viewer for documents (true unless a test says otherwise).
    void setOpensDocuments(bool opens) { m_opensDocuments = opens; }

    const QList<Call>& calls() const { return m_calls; }
    QList<UserMessage> messages() const;
    void clear();

private:
    QList<Call> m_calls;
    std::deque<MessageAnswer> m_answers;
    std::deque<QStringList> m_files;
    std::deque<QString> m_saveNames;
    std::deque<QString> m_inputs;
    std::deque<QString> m_folders;
    bool m_opensDocuments = true;
    std::deque<bool> m_optOuts;
    int m_optOutQuestions = 0;

    static std::optional<QString> take(std::deque<QString>& queue);
};

} // namespace qv
