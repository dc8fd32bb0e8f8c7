#include "gui/main/ModuleStatusView.h"

namespace q540 {

namespace {

struct StateLook {
    int imageIndex;
    int tag;
    QColor colour;
};

StateLook stateLook(ModuleState state)
{
    using V = ModuleStatusView;
    switch (state) {
    case ModuleState::NotPolled:
        break;
    case ModuleState::NoCable:
        return {V::kImageNoCable, V::kTagNoModule, QColor(200, 40, 40)};
    case ModuleState::NoAnswer:
    case ModuleState::Unsupported:
        return {V::kImageNoModule, V::kTagNoModule, QColor(230, 150, 20)};
    case ModuleState::Present:
        return {V::kImageModulePresent, V::kTagModulePresent, QColor(30, 170, 60)};
    }
    return {V::kImageNoState, 0, QColor(150, 150, 150)};
}

QColor passwordColour(PasswordCheck check)
{
    switch (check) {
    case PasswordCheck::Matches:
        return QColor(0, 255, 0);
    case PasswordCheck::Differs:
        return QColor(255, 0, 0);
    case PasswordCheck::NotChecked:
        break;
    }
    return {};
}

} // namespace

ModuleStatusView presentModuleStatus(const ModuleStatus& status, const Localisation& texts)
{
    const StateLook look = stateLook(status.state);
    ModuleStatusView view;
    view.imageIndex = look.imageIndex;
    view.tag = look.tag;
    view.stateColour = look.colour;
    view.text = moduleStateText(status, texts);
    view.passwordColour = passwordColour(status.passwordCheck);
    if (status.entryCount >= 0)
        view.entryCount = QString::number(status.entryCount);
    return view;
}

} // namespace q540
