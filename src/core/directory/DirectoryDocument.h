#pragma once

#include "directory/DirectoryGrid.h"
#include "directory/IntroScreens.h"

#include <QString>

namespace q540 {

// The address note's field holds this many characters.
inline constexpr int kAddressLength = 20;

// What a directory file holds besides the grid: the values of the window's
// address, intro and display-time fields and the module's display language.
struct DocumentFields {
    QString address;
    IntroLines intro;
    // The selected item of the display-time list, as IntroScreens.h counts it.
    int timeIndex = kIntroTimeDefaultIndex;
    int moduleLanguage = 0;

    friend bool operator==(const DocumentFields&, const DocumentFields&) = default;
};

// Everything one directory file holds.
struct DirectoryDocument {
    DirectoryGrid grid;
    DocumentFields fields;

    friend bool operator==(const DirectoryDocument&, const DirectoryDocument&) = default;
};

} // namespace q540
