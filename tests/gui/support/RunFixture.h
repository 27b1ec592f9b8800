#pragma once

#include "app/MainWindow.h"
#include "batch/BatchRunner.h"
#include "batch/DrawingListModel.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineStore.h"
#include "support/GuiTestSupport.h"

namespace qv::test {

// A program with two drawings on disk (dwg/A.dwg, dwg/B.dwg), a routine "Zoom" given to both, the
// script folder set, and a host start that is only recorded.
struct RunFixture
{
    GuiEnvironment env;
    MainWindow window;
    std::vector<LaunchRequest> launches;
    int launchResult = 42;

    RunFixture()
    {
        for (const char* name : {"A.dwg", "B.dwg"})
            writeFile(env.file(QStringLiteral("dwg/") + QString::fromLatin1(name)));
        storeSetting("Acad_Address", "AcadAddress", "/opt/cad/acad");
        storeSetting("Batch_Address", "BatchAddress", env.folder().toStdString());
        QVERIFY(addRoutineToDatabase(makeRoutineForAdd("Zoom", "_Zoom\r\n_E", false)).has_value());
        window.drawingList()->setRows({{"A.dwg", drawingFolder(), "Zoom", ""}, {"B.dwg", drawingFolder(), "Zoom", ""}});
        BatchRunner::setShellExecute([this](const LaunchRequest& request) {
            launches.push_back(request);
            return launchResult;
        });
        BatchRunner::setScriptProbe([](const std::string&) { return 0; });
        BatchRunner::setRunningHosts([] { return 0; });
    }

    std::string drawingFolder() const { return env.file(QStringLiteral("dwg")).toStdString(); }

    QString script() const { return QString::fromLatin1(readFile(env.file(QStringLiteral("Batch.scr")))); }
};

} // namespace qv::test
