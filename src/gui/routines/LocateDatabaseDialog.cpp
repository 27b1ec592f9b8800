#include "LocateDatabaseDialog.h"

#include "app/Controls.h"
#include "app/Program.h"
#include "config/OptionsSettings.h"
#include "config/SettingsKeys.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qv {
LocateDatabaseDialog::LocateDatabaseDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLocateData"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);

    m_explanationLabel = new QLabel(this);
    m_explanationLabel->setObjectName(QStringLiteral("Label1"));
    m_explanationLabel->setWordWrap(true);
    m_explanationLabel->setMinimumWidth(420);

    m_databasePathEdit = new QLineEdit(this);
    m_databasePathEdit->setObjectName(QStringLiteral("txtAddress"));
    m_browseButton = makeButton(this, "cmdDatabaseBrowse", QStringLiteral("Browse"));
    m_applyButton = makeButton(this, "cmdApply", QStringLiteral("Apply"));
    m_okButton = makeButton(this, "cmdok", QStringLiteral("OK"));
    m_cancelButton = makeButton(this, "cmdCancel", QStringLiteral("Cancel"));
    m_applyButton->setEnabled(false);
    m_okButton->setDefault(true);

    auto* address = new QHBoxLayout();
    address->addWidget(m_databasePathEdit, 1);
    address->addWidget(m_browseButton);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_applyButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_explanationLabel);
    layout->addLayout(address);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(m_browseButton, &QPushButton::clicked, this, &LocateDatabaseDialog::browseForDatabase);
    connect(m_applyButton, &QPushButton::clicked, this, &LocateDatabaseDialog::apply);
    connect(m_okButton, &QPushButton::clicked, this, &LocateDatabaseDialog::applyAndClose);
    connect(m_cancelButton, &QPushButton::clicked, this, &LocateDatabaseDialog::reject);
}

void LocateDatabaseDialog::setExplanation(const QString& text)
{
    m_explanationLabel->setText(text);
}

void LocateDatabaseDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_databasePathEdit->clear();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void LocateDatabaseDialog::browseForDatabase()
{
    const QString current = m_databasePathEdit->text().trimmed();
    const QString folder =
        current.isEmpty() ? toQString(programState().databaseFolder) : QFileInfo(current).absolutePath();
    const QStringList chosen =
        userDialogs().openFileNames(QString(), toQString(options_text::kDatabaseFilter), folder, false);
    if (chosen.isEmpty())
        return;
    m_databasePathEdit->setText(chosen.first());
    m_applyButton->setEnabled(true);
}

bool LocateDatabaseDialog::writeDatabasePath(const char* routine)
{
    const QString address = m_databasePathEdit->text();
    if (address.trimmed().isEmpty()) {
        userDialogs().show("Please Enter The Address for the Routine Database file.", "Error",
                           MessageIcon::Exclamation);
        return false;
    }
    if (auto written = programState().settings.writeValue(keys::kDatabaseSection, keys::kDatabaseKey, toStd(address));
        !written) {
        showError(written.error(), routine);
        return false;
    }
    return true;
}

void LocateDatabaseDialog::apply()
{
    writeDatabasePath("cmdApply_Click");
}

void LocateDatabaseDialog::applyAndClose()
{
    if (!writeDatabasePath("cmdOK_Click"))
        return;
    userDialogs().show("You will have to restart Quorvel for the changes to take affect.", "Quorvel Explanation",
                       MessageIcon::Information);
    accept();
}

} // namespace qv
