#pragma once

#include "commands/FileDialogs.h"

#include <QStringList>

namespace q540::test {

// Answers the file dialogs with the names a test queued, "" meaning Cancel, and
// records what each dialog was shown with.
class FakeFileDialogs final : public FileDialogs {
public:
    QString openFileName(const QString& filter, const QString& folder) override
    {
        calls << QStringLiteral("open|") + filter + u'|' + folder;
        return next();
    }
    QString saveFileName(const QString& filter, const QString& suggestedPath) override
    {
        calls << QStringLiteral("save|") + filter + u'|' + suggestedPath;
        return next();
    }

    QStringList answers;
    QStringList calls;

private:
    QString next() { return answers.isEmpty() ? QString() : answers.takeFirst(); }
};

} // namespace q540::test
