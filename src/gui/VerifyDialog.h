#pragma once

#include "module/DirectoryVerify.h"

#include <QWidget>

namespace q540 {

// The positions a verify found differing, one line each, with the choice to
// write just those again. True when the user chose that.
bool askWriteAgain(const VerifyResult& verified, int written, int language, QWidget* parent);

} // namespace q540
