#include "QtUserDialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace qv {
namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageAnswer QtUserDialogs::message(const UserMessage& message)
{
    QMessageBox box(toQtIcon(message.icon), QString::fromStdString(message.title), QString::fromStdString(message.text),
                    QMessageBox::NoButton, dialogParent());
    switch (message.buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        break;
    }
    // Closing the box with Escape or its close button means Cancel where there is one.
    if (message.buttons == MessageButtons::OkCancel || message.buttons == MessageButtons::YesNoCancel) {
        if (box.clickedButton() == nullptr)
            return MessageAnswer::Cancel;
    }
    return MessageAnswer::Ok;
}

std::optional<QString> QtUserDialogs::inputBox(const QString& prompt, const QString& title, const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(dialogParent(), title, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QStringList QtUserDialogs::openFileNames(const QString& title, const QString& filter, const QString& folder,
                                         bool multiple)
{
    // Qt's dialogs answer with "/" on every system; the program's paths use the system's separator.
    const QString qtFilter = toQtFilter(filter);
    if (multiple) {
        QStringList names = QFileDialog::getOpenFileNames(dialogParent(), title, folder, qtFilter);
        for (QString& name : names)
            name = QDir::toNativeSeparators(name);
        return names;
    }
    const QString name = QFileDialog::getOpenFileName(dialogParent(), title, folder, qtFilter);
    return name.isEmpty() ? QStringList() : QStringList{QDir::toNativeSeparators(name)};
}

std::optional<QString> QtUserDialogs::saveFileName(const QString& title, const QString& filter, const QString& folder)
{
    const QString name = QFileDialog::getSaveFileName(dialogParent(), title, folder, toQtFilter(filter));
    if (name.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(name);
}

std::optional<QString> QtUserDialogs::browseFolder(const QString& title, const QString& folder)
{
    const QString name = QFileDialog::getExistingDirectory(dialogParent(), title, folder);
    if (name.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(name);
}

bool QtUserDialogs::openDocument(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace qv
