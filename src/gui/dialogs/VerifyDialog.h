#pragma once

#include "commands/ModuleWorkflows.h"
#include "module/DirectoryVerify.h"

#include <QWidget>

namespace q540 {

class TransferRunner;

// The positions a verify found differing, one line each, with the choice to
// write just those again. True when the user chose that.
bool askWriteAgain(const VerifyResult& verified, int written, int language, QWidget* parent);

// Before a module's entries are overwritten: read and keep them (the
// default), write without keeping them, or cancel.
WorkflowQuestions::KeepChoice askKeepFirst(int entries, int readSeconds, int language,
                                           QWidget* parent);

// The workflows' questions as the window asks them: from the transfer's
// worker, each shown on the window's thread while the transfer waits.
class WindowQuestions final : public WorkflowQuestions {
public:
    WindowQuestions(TransferRunner& runner, QWidget& window, int language)
        : runner_(runner), window_(window), language_(language)
    {
    }
    KeepChoice keepFirst(int entries, int readSeconds) override;
    bool writeAgain(const VerifyResult& found, int entries, int attempt) override;

private:
    TransferRunner& runner_;
    QWidget& window_;
    int language_;
};

} // namespace q540
