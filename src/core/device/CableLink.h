#pragma once

#include "device/Link.h"

#include <memory>

namespace q540 {

// The link to the real cable that the program starts with: the vendor's D2XX
// library when it is installed; on Linux, without it, the serial port that
// the kernel's own FTDI driver provides. nullptr means that no driver is
// installed and the program cannot reach a module.
std::unique_ptr<Link> loadCableLink();

} // namespace q540
