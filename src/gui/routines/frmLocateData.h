#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

// Lets the user point the program at the routine database file. The chosen path is written to the
// "dbAddress" setting; every later database operation looks it up again.
class frmLocateData final : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Locate Routine Database";

    explicit frmLocateData(QWidget* parent = nullptr);

    // The caller's explanation of why the dialog is shown.
    void setExplanation(const QString& text);

    QLabel* Label1 = nullptr;
    QLineEdit* txtAddress = nullptr;
    QPushButton* cmdDatabaseBrowse = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdok = nullptr;
    QPushButton* cmdCancel = nullptr;

public slots:
    void cmdDatabaseBrowse_Click();
    void cmdApply_Click();
    void cmdOK_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Writes the address; false (after telling the user) when it is blank or the write failed.
    bool WriteAddress(const char* routine);
};

} // namespace qv
