#pragma once

namespace q540 {

// Qt's own texts (Yes, No, Cancel, the file dialogs, the line edits' menus)
// in the program's language: Qt's translation of the language (0 Polish,
// 2 German) is installed on the application in place of the one before;
// English, Qt's own, needs none. True when the language's texts are in force.
bool applyQtTranslations(int language);

} // namespace q540
