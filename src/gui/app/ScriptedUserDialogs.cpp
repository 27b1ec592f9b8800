#include "ScriptedUserDialogs.h"

namespace qv {

std::optional<QString> ScriptedUserDialogs::take(std::deque<QString>& queue)
{
    if (queue.empty())
        return std::nullopt;
    const QString answer = queue.front();
    queue.pop_front();
    if (answer.isNull())
        return std::nullopt;
    return answer;
}

MessageAnswer ScriptedUserDialogs::message(const UserMessage& message)
{
    m_calls.append({Call::Message, message, QString::fromStdString(message.title), {}, {}, {}});
    if (m_answers.empty())
        return defaultAnswer(message.buttons);
    const MessageAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

MessageAnswer ScriptedUserDialogs::askWithOptOut(const UserMessage& message, bool& optedOut)
{
    ++m_optOutQuestions;
    optedOut = !m_optOuts.empty() && m_optOuts.front();
    if (!m_optOuts.empty())
        m_optOuts.pop_front();
    return this->message(message);
}

std::optional<QString> ScriptedUserDialogs::inputBox(const QString& prompt, const QString& title,
                                                     const QString& initial)
{
    m_calls.append({Call::Input, {}, title, {}, prompt, initial});
    return take(m_inputs);
}

QStringList ScriptedUserDialogs::openFileNames(const QString& title, const QString& filter, const QString&, bool)
{
    m_calls.append({Call::OpenFiles, {}, title, filter, {}, {}});
    if (m_files.empty())
        return {};
    QStringList answer = m_files.front();
    m_files.pop_front();
    return answer;
}

std::optional<QString> ScriptedUserDialogs::saveFileName(const QString& title, const QString& filter, const QString&)
{
    m_calls.append({Call::SaveFile, {}, title, filter, {}, {}});
    return take(m_saveNames);
}

std::optional<QString> ScriptedUserDialogs::browseFolder(const QString& title, const QString&)
{
    m_calls.append({Call::BrowseFolder, {}, title, {}, {}, {}});
    return take(m_folders);
}

bool ScriptedUserDialogs::openDocument(const QString& path)
{
    m_calls.append({Call::OpenDocument, {}, {}, {}, path, {}});
    return m_opensDocuments;
}

QList<UserMessage> ScriptedUserDialogs::messages() const
{
    QList<UserMessage> out;
    for (const Call& call : m_calls) {
        if (call.kind == Call::Message)
            out.append(call.message);
    }
    return out;
}

void ScriptedUserDialogs::clear()
{
    m_calls.clear();
    m_answers.clear();
    m_files.clear();
    m_saveNames.clear();
    m_inputs.clear();
    m_folders.clear();
    m_optOuts.clear();
    m_optOutQuestions = 0;
}

} // namespace qv
