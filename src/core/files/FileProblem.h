#pragma once

#include "base/TextKeys.h"

namespace q540 {

// Why a reader refused a file: the file is not of the expected kind (size or
// header), or one of its lines breaks the format.
enum class FileProblem { None, WrongFile, StructureError };

constexpr int textKeyOf(FileProblem problem)
{
    return problem == FileProblem::WrongFile ? textkey::kWrongFile : textkey::kFileStructureError;
}

} // namespace q540
