#pragma once

#include <QString>

namespace qv {

class UserDialogs;

// The full path of a drawing (or template) chosen in the file-open dialog "Select Drawing File", or an
// empty text when nothing was chosen.
QString pickDrawingFile(UserDialogs& dialogs);

} // namespace qv
