#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

// Lets the user point the program at the routine database file. The chosen path is written to the
// "dbAddress" setting; every later database operation looks it up again.
// objectName "frmLocateData" (its controls keep theirs).
class LocateDatabaseDialog final : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Locate Routine Database";

    explicit LocateDatabaseDialog(QWidget* parent = nullptr);

    // The caller's explanation of why the dialog is shown.
    void setExplanation(const QString& text);

    QLabel* m_explanationLabel = nullptr;
    QLineEdit* m_databasePathEdit = nullptr;
    QPushButton* m_browseButton = nullptr;
    QPushButton* m_applyButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;

public slots:
    void browseForDatabase();
    void apply();
    void applyAndClose();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Writes the address; false (after telling the user) when it is blank or the write failed.
    bool writeDatabasePath(const char* routine);
};

} // namespace qv
