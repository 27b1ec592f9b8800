#include "GuiTestSupport.h"

namespace qv::test {

GuiEnvironment::GuiEnvironment()
{
    initialiseProgram(m_dir.path().toStdString());
    auto dialogs = std::make_unique<ScriptedUserDialogs>();
    m_dialogs = dialogs.get();
    programState().dialogs = std::move(dialogs);
    programState().headless = false;
    programState().exitCode = 0;
    programState().combinedScript.clear();
    programState().combinationMade = false;
    programState().routineIsNonFavourite = false;
    programState().release2004OrLater = false;
}

GuiEnvironment::~GuiEnvironment()
{
    programState().dialogs.reset();
}

std::string GuiEnvironment::settingsValue(const char* section, const char* key) const
{
    return programState().settings.readValue(section, key);
}

} // namespace qv::test
