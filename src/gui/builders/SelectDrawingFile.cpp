#include "SelectDrawingFile.h"

#include "app/UserDialogs.h"

#include <QDir>
#include <QStringList>

namespace qv {

QString pickDrawingFile(UserDialogs& dialogs)
{
    const QStringList chosen = dialogs.openFileNames(
        QStringLiteral("Select Drawing File"), QStringLiteral("Drawing Files(*.dwg)|*.dwg|Template Files(*.dwt)|*.dwt"),
        QString(), false);
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen.front());
}

} // namespace qv
