#include "directory/DirectoryEditor.h"

namespace q540 {

DirectoryEditor::DirectoryEditor(UserSink& sink, const Localisation& texts,
                                 const QString& localeName)
    : sink_(sink), texts_(texts), list_(grid_, localeName)
{
    page_.onListRebuild = [this] { ZrobListe(); };
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

void DirectoryEditor::ZrobListe()
{
    list_.ZrobListe(page_.selectorIndex(), sink_, texts_);
    if (onListRebuilt)
        onListRebuilt();
}

} // namespace q540
