#pragma once

#include <QString>

#include <optional>

namespace q540 {

// The alphabetical order the module's directory is sorted in before a write.
// By default it is the order of the PC's locale, as it always was; an
// installer whose laptop is set to another language picks the panel's own,
// so that the same directory is stored the same way from any PC.
// Choice 0 is the system's locale, 1..7 Polish, English, German, Norwegian,
// Swedish, Czech and Russian.
inline constexpr int kModuleOrderSystem = 0;
inline constexpr int kModuleOrderPolish = 1;
inline constexpr int kModuleOrderEnglish = 2;
inline constexpr int kModuleOrderGerman = 3;
inline constexpr int kModuleOrderCount = 8;

// The locale name the collator takes for a choice: empty for the system's.
QString moduleOrderLocale(int choice);
// The locale a choice sorts in now (the system's name for choice 0).
QString moduleOrderEffectiveLocale(int choice);
// The choice's name for the Options menu in a program language 0..2.
QString moduleOrderName(int choice, int language);
// A choice named on the command line: "system", or a locale name whose
// language is one of the seven (pl, pl_PL, nb_NO, no, …).
std::optional<int> moduleOrderOfLocaleName(const QString& name);
// What a write's message adds: the order used, named, when its language is
// not the program's language; empty otherwise.
QString moduleOrderNote(int choice, int language);

} // namespace q540
