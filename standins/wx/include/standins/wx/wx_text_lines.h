#pragma once

#include "common/text_lines.h"

namespace stratocue::standins {

// The weather stand-in reads its data files with the shared line and blank helpers.
using stratocue::firstWord;
using stratocue::normalisedBulletinText;
using stratocue::textLines;
using stratocue::trimmedBlanks;

}  // namespace stratocue::standins
