#pragma once

#include "app/Controls.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QString>
#include <array>
#include <cstddef>

namespace qv {

// The controls both pages of the "Plot - Detailed Setup" tab are made of, named as users and tests know them.

inline QComboBox* makeCombo(QWidget* parent, const char* name, bool editable)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(editable);
    if (editable)
        combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(18);
    return combo;
}

inline QLabel* makeWrappedLabel(QWidget* parent, const char* name, const QString& text = {})
{
    QLabel* label = makeLabel(parent, name, text);
    label->setWordWrap(true);
    return label;
}

// The option buttons are named after their group with their id: "optUnit_2".
template <std::size_t N>
QButtonGroup* makeRadioGroup(QWidget* parent, const char* name, std::array<QRadioButton*, N>& buttons,
                             const std::array<const char*, N>& captions)
{
    auto* group = new QButtonGroup(parent);
    group->setObjectName(QString::fromLatin1(name));
    for (std::size_t i = 0; i < N; ++i) {
        buttons[i] = new QRadioButton(QString::fromUtf8(captions[i]), parent);
        buttons[i]->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(name)).arg(i));
        group->addButton(buttons[i], static_cast<int>(i));
    }
    return group;
}

} // namespace qv
