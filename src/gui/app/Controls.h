#pragma once

#include <QAbstractItemView>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QString>

namespace qv {

// Controls carry the names users and tests know them by.
inline QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QString& tip = {})
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    if (!tip.isEmpty())
        button->setToolTip(tip);
    return button;
}

// A button of a dialog that Enter presses only when it is the dialog's default.
inline QPushButton* makeDialogButton(QWidget* parent, const char* name, const QString& caption, const QString& tip = {})
{
    QPushButton* button = makeButton(parent, name, caption, tip);
    button->setAutoDefault(false);
    return button;
}

inline QLabel* makeLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

inline QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

inline QGroupBox* makeGroup(QWidget* parent, const char* name, const QString& caption)
{
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(QString::fromLatin1(name));
    return frame;
}

inline QLineEdit* makeEdit(QWidget* parent, const QString& name, const QString& text = {}, const QString& tip = {})
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    if (!tip.isEmpty())
        edit->setToolTip(tip);
    return edit;
}

inline QListWidget* makeList(QWidget* parent, const char* name, const QString& tip,
                             QAbstractItemView::SelectionMode mode)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setToolTip(tip);
    list->setSelectionMode(mode);
    return list;
}

} // namespace qv
