#pragma once

#include "files/CutValue.h"

#include <QString>

namespace q540 {

// What an Open or an Import tells the user besides taking the file: the
// values it cut to their fields (which one, how long) and that a file which
// ended early had its missing lines read as empty. "" when there is nothing
// to tell. In the language by index (0 Polish, 1 English, 2 German; others as
// English).
QString readNotice(const ReadNotes& notes, int language);

} // namespace q540
