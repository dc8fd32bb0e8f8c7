#pragma once

#include <QString>

namespace q540 {

// The open and save dialogs of the file commands. The program shows the
// platform's dialogs; tests answer with file names of their own.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // The chosen file, or "" when cancelled. filter is a dialog filter such as
    // "(*.csv)"; folder is where the dialog starts ("" for its own choice).
    virtual QString openFileName(const QString& filter, const QString& folder) = 0;
    // suggestedPath is the file the dialog offers first ("" for none). The
    // dialog does not ask before an existing file: the command does.
    virtual QString saveFileName(const QString& filter, const QString& suggestedPath) = 0;
};

} // namespace q540
