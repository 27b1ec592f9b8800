#pragma once

#include "support/GuiTestSupport.h"

#include <QProcessEnvironment>
#include <QString>
#include <utility>
#include <vector>

namespace qv::test {

// The settings that make the real program start the stand-in CAD host for a product, with its journal in
// the test's folder (journalPath).
void useStandInHost(const GuiEnvironment& env, const QString& product);
QString journalPath(const GuiEnvironment& env);

// Writes a list file of the drawings (name in the test's folder, routine), runs a copy of the real program
// on it with no display, as an unattended run would, and returns the host's journal once it has quit having
// accepted every line and modelled every command. On any failure the test is failed and the text is empty:
// check QTest::currentTestFailed().
QString runListThroughHost(const GuiEnvironment& env, const std::vector<std::pair<QString, QString>>& rows,
                           const QProcessEnvironment& extra = {});

} // namespace qv::test
