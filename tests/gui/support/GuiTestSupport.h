#pragma once

#include "app/Program.h"
#include "app/ScriptedUserDialogs.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace qv::test {

// A program set up in a fresh temporary folder (program folder = settings folder) with scripted
// dialogs. Create one per test function.
class GuiEnvironment
{
public:
    GuiEnvironment();
    ~GuiEnvironment();

    ScriptedUserDialogs& dialogs() { return *m_dialogs; }
    QString folder() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    std::string settingsValue(const char* section, const char* key) const;

private:
    QTemporaryDir m_dir;
    ScriptedUserDialogs* m_dialogs = nullptr;
};

// A child control by its name; fails the test when it is missing.
template <typename T> T* control(QObject* parent, const char* name)
{
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qWarning("control %s not found", name);
    return child;
}

} // namespace qv::test
