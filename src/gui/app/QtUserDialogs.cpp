#include "QtUserDialogs.h"

#include "config/OptionsSettings.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace qv {
namespace {

QLatin1String executablesPattern()
{
    return QLatin1String(options_text::kExecutablePattern.data(), qsizetype(options_text::kExecutablePattern.size()));
}

// A filter that lists the files that may be run (kProgramFilter).
QStringList openProgram(const QString& title, const QString& filter, const QString& folder)
{
    // Programs have no extension to filter by: the dialog's own list shows only the files that may be run
    // while the first filter is chosen, and every file under the others.
    QString qtFilter = filter;
    qtFilter.replace(executablesPattern(), QStringLiteral("*"));
    QFileDialog dialog(dialogParent(), title, folder, toQtFilter(qtFilter));
    dialog.setOption(QFileDialog::DontUseNativeDialog); // a native dialog ignores the listing filter
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList names = dialog.nameFilters();
    const auto listFor = [&dialog, first = names.value(0)](const QString& chosen) {
        QDir::Filters listed = QDir::AllDirs | QDir::Files | QDir::NoDot | QDir::Drives;
        if (chosen == first)
            listed |= QDir::Executable;
        dialog.setFilter(listed);
    };
    listFor(names.value(0));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, listFor);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {QDir::toNativeSeparators(dialog.selectedFiles().first())};
}

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

// Sets the buttons, shows the box and maps the button pressed to the answer.
MessageAnswer execBox(QMessageBox& box, MessageButtons buttons)
{
    switch (buttons) {
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
    if (buttons == MessageButtons::OkCancel || buttons == MessageButtons::YesNoCancel) {
        if (box.clickedButton() == nullptr)
            return MessageAnswer::Cancel;
    }
    return MessageAnswer::Ok;
}

// The message box; with `optedOut` it carries a "Don't ask again" box whose state comes back there.
MessageAnswer showBox(const UserMessage& message, bool* optedOut)
{
    QMessageBox box(toQtIcon(message.icon), QString::fromStdString(message.title), QString::fromStdString(message.text),
                    QMessageBox::NoButton, dialogParent());
    QCheckBox* optOut = nullptr;
    if (optedOut) {
        optOut = new QCheckBox(QStringLiteral("&Don't ask again"), &box);
        optOut->setObjectName(QStringLiteral("chkDontAskAgain"));
        box.setCheckBox(optOut);
    }
    const MessageAnswer answer = execBox(box, message.buttons);
    if (optedOut)
        *optedOut = optOut->isChecked();
    return answer;
}

} // namespace

MessageAnswer QtUserDialogs::message(const UserMessage& message)
{
    return showBox(message, nullptr);
}

MessageAnswer QtUserDialogs::askWithOptOut(const UserMessage& message, bool& optedOut)
{
    return showBox(message, &optedOut);
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
    if (filter.contains(executablesPattern()))
        return openProgram(title, filter, folder);
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
