#pragma once

#include "app/Program.h"
#include "app/ScriptedUserDialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <initializer_list>

class QComboBox;
class QListWidget;

namespace qv {
class MainWindow;
}

namespace qv::test {

// A program set up in a fresh temporary folder (program folder = settings folder) with scripted
// dialogs, for the CAD product given (none: the settings name no product). Create one per test function.
class GuiEnvironment
{
public:
    explicit GuiEnvironment(const std::string& product = {});
    ~GuiEnvironment();

    ScriptedUserDialogs& dialogs() { return *m_dialogs; }
    // With the system's separators, as the program writes paths ("\" on Windows).
    QString folder() const { return QDir::toNativeSeparators(m_dir.path()); }
    QString file(const QString& name) const { return QDir::toNativeSeparators(m_dir.filePath(name)); }
    std::string settingsValue(const char* section, const char* key) const;

private:
    QTemporaryDir m_dir;
    ScriptedUserDialogs* m_dialogs = nullptr;
};

// A path or text written with "/" in the form the program writes it on this system ("\" on Windows).
inline QString native(const QString& text)
{
    return QDir::toNativeSeparators(text);
}
inline QByteArray native(const QByteArray& text)
{
    return QDir::toNativeSeparators(QString::fromLatin1(text)).toLatin1();
}

// A child control by its name; fails the test when it is missing.
template <typename T> T* control(QObject* parent, const char* name)
{
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qWarning("control %s not found", name);
    return child;
}

// Writes a value into the program's settings file; fails the test when it cannot.
void storeSetting(const char* section, const char* key, const std::string& value);
// The CAD product the settings name.
void useProduct(const std::string& code);

// Writes a file, making its folder first; fails the test when it cannot. readFile is empty when there is none.
void writeFile(const QString& path, const QByteArray& bytes = {});
QByteArray readFile(const QString& path);

// The entries of a list, in order.
QStringList itemTexts(const QComboBox* list);
QStringList itemTexts(const QListWidget* list);
// Picks an entry by its text as the user does, so that the list's activation handlers run.
void chooseText(QComboBox* list, const QString& text);

// The routine of each row of the main window's drawing list, and a selection of its rows.
QStringList assignedRoutines(const MainWindow& window);
void selectRows(MainWindow& window, std::initializer_list<int> rows);

// Runs `act` on the modal window of class Window once the next call opens it (its event loop runs the timer);
// fails the test when another window is on top.
template <typename Window, typename Act> void whenModalOpens(QObject* context, Act act)
{
    QTimer::singleShot(0, context, [act = std::move(act)] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        QVERIFY(window);
        act(window);
    });
}

} // namespace qv::test
