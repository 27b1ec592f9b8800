#include "ConsoleUserDialogs.h"

namespace qv {

void ConsoleUserDialogs::report(const QString& title, const QString& text)
{
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(m_out, "[%s]\n%s\n\n", title.toLocal8Bit().constData(), body.toLocal8Bit().constData());
    std::fflush(m_out);
}

MessageAnswer ConsoleUserDialogs::message(const UserMessage& message)
{
    report(QString::fromStdString(message.title), QString::fromStdString(message.text));
    return defaultAnswer(message.buttons);
}

std::optional<QString> ConsoleUserDialogs::inputBox(const QString& prompt, const QString& title, const QString&)
{
    report(title, prompt);
    return std::nullopt;
}

QStringList ConsoleUserDialogs::openFileNames(const QString&, const QString&, const QString&, bool)
{
    return {};
}

std::optional<QString> ConsoleUserDialogs::saveFileName(const QString&, const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<QString> ConsoleUserDialogs::browseFolder(const QString&, const QString&)
{
    return std::nullopt;
}

bool ConsoleUserDialogs::openDocument(const QString&)
{
    return false;
}

} // namespace qv
