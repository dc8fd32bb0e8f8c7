#pragma once

#include "cli/commands/Command.h"

#include <memory>

namespace q540::cli {

// Each command of the tool, made afresh for one command line.
std::unique_ptr<Command> makeListCommand();
std::unique_ptr<Command> makeCheckCommand();
std::unique_ptr<Command> makeImportCommand();
std::unique_ptr<Command> makeExportTableCommand();
std::unique_ptr<Command> makeImportTableCommand();
std::unique_ptr<Command> makeExportPdfCommand();
std::unique_ptr<Command> makeStatusCommand();
std::unique_ptr<Command> makeWriteCommand();
std::unique_ptr<Command> makeReadCommand();
std::unique_ptr<Command> makeDiffCommand();
std::unique_ptr<Command> makeHistoryCommand();
std::unique_ptr<Command> makeIntroReadCommand();
std::unique_ptr<Command> makeIntroWriteCommand();
std::unique_ptr<Command> makeSetPasswordCommand();
std::unique_ptr<Command> makeModuleLanguageCommand();
std::unique_ptr<Command> makeResetLockCommand();
std::unique_ptr<Command> makeDoctorCommand();

} // namespace q540::cli
