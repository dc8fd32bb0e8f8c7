#include "module/ModuleOperation.h"

#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "base/UserSink.h"
#include "device/Link.h"
#include "module/ModuleStatus.h"
#include "protocol/Protocol.h"

namespace q540 {

ModuleOperation::ModuleOperation(PollControl& poll, Link& link, UserSink& sink,
                                 const Localisation& texts)
    : poll_(poll), link_(link), sink_(sink), texts_(texts)
{
    poll_.suspend();
}

ModuleOperation::~ModuleOperation()
{
    if (link_.isOpen())
        link_.close();
    poll_.resume();
}

bool ModuleOperation::begin(bool modulePresent, bool passwordMatches, int timeoutMs)
{
    if (!modulePresent) {
        sink_.showMessage(texts_.text(textkey::kNoDevice));
        return false;
    }
    if (!link_.open()) {
        // The port may have been taken since the identification found the
        // module: say by what, where the link can tell.
        const QString why =
            openProblemText(link_.openProblem(), link_.portName(), texts_.language());
        sink_.showMessage(texts_.text(textkey::kUsbTransmissionFailure)
                          + (why.isEmpty() ? QString() : u'\n' + why));
        return false;
    }
    if (!passwordMatches) {
        sink_.showMessage(texts_.text(textkey::kWrongPassword));
        link_.close();
        return false;
    }
    link_.setBaudRate(protocol::kBaudRate);
    link_.setTimeouts(timeoutMs, timeoutMs);
    return true;
}

} // namespace q540
