#pragma once

#include "config/OptionsSettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QOperatingSystemVersion>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QVBoxLayout>
#include <QWidget>
#include <initializer_list>
#include <string>
#include <string_view>

namespace qv {

// The wizard windows' shape: the checklist, the explanation, then the buttons at the bottom right, with
// `left` (when given) at the bottom left. The window grows with the texts its steps show.
inline void layOutWizardStep(QDialog* window, QLayout* checklist, QLabel* explanation, QPushButton* left,
                             std::initializer_list<QPushButton*> right)
{
    auto* buttons = new QHBoxLayout();
    if (left)
        buttons->addWidget(left);
    buttons->addStretch();
    for (QPushButton* button : right)
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(window);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->addLayout(checklist);
    layout->addWidget(explanation);
    layout->addStretch();
    layout->addLayout(buttons);
}

// Text for a label: CR LF line breaks become the line breaks a label shows.
inline QString labelText(std::string_view text)
{
    QString out = QString::fromUtf8(text.data(), qsizetype(text.size()));
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

// A check box of a checklist: ticked by the program as steps complete, never by a click.
inline QCheckBox* makeStatusCheck(QWidget* parent, const char* name)
{
    auto* check = new QCheckBox(parent);
    check->setObjectName(QString::fromLatin1(name));
    check->setAttribute(Qt::WA_TransparentForMouseEvents);
    check->setFocusPolicy(Qt::NoFocus);
    return check;
}

// One option button of a control array: named "array_index" and added to the group under its index.
inline QRadioButton* makeOption(QWidget* parent, QButtonGroup* group, const char* array, int index,
                                const QString& caption)
{
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(QString::fromLatin1(array) + QLatin1Char('_') + QString::number(index));
    group->addButton(option, index);
    return option;
}

// The file-open filter for the CAD program: the Windows filter on Windows; elsewhere programs carry no
// extension, so the dialog lists the files that may be run.
inline QString executableFileFilter(std::string_view windowsFilter)
{
    const std::string_view filter = QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows
                                        ? windowsFilter
                                        : options_text::kProgramFilter;
    return QString::fromUtf8(filter.data(), qsizetype(filter.size()));
}

// What the file system says about a CAD program's path.
inline ExecutableCheck checkExecutable(const QString& path)
{
    const QFileInfo file(path.trimmed());
    if (path.trimmed().isEmpty() || !file.exists())
        return ExecutableCheck::Missing;
    if (file.isDir())
        return ExecutableCheck::Folder;
    return file.isExecutable() ? ExecutableCheck::Runnable : ExecutableCheck::NotRunnable;
}

} // namespace qv
