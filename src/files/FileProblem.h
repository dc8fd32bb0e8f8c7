#pragma once

namespace q540 {

namespace textkey {
inline constexpr int kWrongFile = 94;          // "Niewłaściwy plik! "
inline constexpr int kFileStructureError = 96; // "Błąd struktury pliku! "
} // namespace textkey

// Why a reader refused a file: the file is not of the expected kind (size or
// header), or one of its lines breaks the format.
enum class FileProblem { None, WrongFile, StructureError };

constexpr int textKeyOf(FileProblem problem)
{
    return problem == FileProblem::WrongFile ? textkey::kWrongFile : textkey::kFileStructureError;
}

} // namespace q540
