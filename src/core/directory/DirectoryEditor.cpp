#include "directory/DirectoryEditor.h"

#include "directory/ModuleOrder.h"

namespace q540 {

DirectoryEditor::DirectoryEditor(UserSink& sink, const Localisation& texts, int moduleOrder)
    : sink_(sink), texts_(texts), list_(grid_, moduleOrderLocale(moduleOrder)),
      moduleOrder_(moduleOrder)
{
    page_.onListRebuild = [this] { rebuild(); };
}

void DirectoryEditor::setSorted(bool sorted)
{
    list_.setSorted(sorted);
    page_.listOptionClicked();
}

void DirectoryEditor::setAlphabeticalSearch(bool on)
{
    alphabeticalSearch_ = on;
    page_.listOptionClicked();
}

void DirectoryEditor::setModuleOrder(int choice)
{
    moduleOrder_ = choice;
    list_.setLocale(moduleOrderLocale(choice));
    rebuild();
}

void DirectoryEditor::rebuild()
{
    list_.rebuild(page_.selectorIndex(), sink_, texts_);
    if (onListRebuilt)
        onListRebuilt();
}

} // namespace q540
