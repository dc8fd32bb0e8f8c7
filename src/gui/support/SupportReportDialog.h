#pragma once

#include <optional>

class QWidget;

namespace q540 {

// What goes into the support report, asked before it is saved: whether the
// directory's text is included (unticked at first). Nothing when cancelled.
std::optional<bool> askSupportReportOptions(int language, QWidget* parent);

} // namespace q540
