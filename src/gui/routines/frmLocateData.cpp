#include "frmLocateData.h"

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
frmLocateData::frmLocateData(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLocateData"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setMinimumWidth(420);

    txtAddress = new QLineEdit(this);
    txtAddress->setObjectName(QStringLiteral("txtAddress"));
    cmdDatabaseBrowse = MakeButton(this, "cmdDatabaseBrowse", QStringLiteral("Browse"));
    cmdApply = MakeButton(this, "cmdApply", QStringLiteral("Apply"));
    cmdok = MakeButton(this, "cmdok", QStringLiteral("OK"));
    cmdCancel = MakeButton(this, "cmdCancel", QStringLiteral("Cancel"));
    cmdApply->setEnabled(false);
    cmdok->setDefault(true);

    auto* address = new QHBoxLayout();
    address->addWidget(txtAddress, 1);
    address->addWidget(cmdDatabaseBrowse);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(cmdok);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdApply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(address);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(cmdDatabaseBrowse, &QPushButton::clicked, this, &frmLocateData::cmdDatabaseBrowse_Click);
    connect(cmdApply, &QPushButton::clicked, this, &frmLocateData::cmdApply_Click);
    connect(cmdok, &QPushButton::clicked, this, &frmLocateData::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLocateData::reject);
}

void frmLocateData::setExplanation(const QString& text)
{
    Label1->setText(text);
}

void frmLocateData::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    txtAddress->clear();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void frmLocateData::cmdDatabaseBrowse_Click()
{
    const QString current = txtAddress->text().trimmed();
    const QString folder = current.isEmpty() ? ToQString(Program().databaseFolder) : QFileInfo(current).absolutePath();
    const QStringList chosen =
        Dialogs().openFileNames(QString(), ToQString(options_text::kDatabaseFilter), folder, false);
    if (chosen.isEmpty())
        return;
    txtAddress->setText(chosen.first());
    cmdApply->setEnabled(true);
}

bool frmLocateData::WriteAddress(const char* routine)
{
    const QString address = txtAddress->text();
    if (address.trimmed().isEmpty()) {
        Dialogs().show("Please Enter The Address for the Routine Database file.", "Error", MessageIcon::Exclamation);
        return false;
    }
    if (auto written = Program().ini.WriteValue(keys::kDatabaseSection, keys::kDatabaseKey, ToStd(address)); !written) {
        ShowError(written.error(), routine);
        return false;
    }
    return true;
}

void frmLocateData::cmdApply_Click()
{
    WriteAddress("cmdApply_Click");
}

void frmLocateData::cmdOK_Click()
{
    if (!WriteAddress("cmdOK_Click"))
        return;
    Dialogs().show("You will have to restart Quorvel for the changes to take affect.", "Quorvel Explanation",
                   MessageIcon::Information);
    accept();
}

} // namespace qv
