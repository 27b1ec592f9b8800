#include "GuiTestSupport.h"

namespace qv::test {

GuiEnvironment::GuiEnvironment()
{
    InitialiseProgram(m_dir.path().toStdString());
    auto dialogs = std::make_unique<ScriptedUserDialogs>();
    m_dialogs = dialogs.get();
    Program().dialogs = std::move(dialogs);
    Program().headless = false;
    Program().exitCode = 0;
    Program().CombinedScript.clear();
    Program().combinationMade = false;
    Program().NonFavourite = false;
    Program().Release2004OrLater = false;
}

GuiEnvironment::~GuiEnvironment()
{
    Program().dialogs.reset();
}

std::string GuiEnvironment::settingsValue(const char* section, const char* key) const
{
    return Program().ini.ReadValue(section, key);
}

} // namespace qv::test
