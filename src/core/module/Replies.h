#pragma once

#include "protocol/CellBlock.h"

#include <QString>

#include <optional>

namespace q540 {

class Link;
class UserSink;

// The transmission-error message in the program's language (0 Polish,
// 1 English, 2 German); other language indices show nothing.
std::optional<QString> transmissionErrorText(int languageIndex);

// Waits for the end byte with up to ten one-byte reads. After ten reads
// without it the device is closed, the transmission error shown and the
// progress bar hidden.
bool CzyJestOdpZ(Link& link, UserSink& sink, int languageIndex);

// Receives a data reply of n bytes (at most 32) and its end byte with up to
// five whole-reply reads, each from the start of the buffer. On success the
// bytes are in cellBlock, 255 read as a space in the text positions 0..29 and 0
// where the reply was shorter than 32. On failure the transmission error is
// shown and the progress bar hidden; the device stays open for the caller.
bool CzyJestOdpO2(Link& link, UserSink& sink, int languageIndex, int n, CellBlock& cellBlock);

} // namespace q540
