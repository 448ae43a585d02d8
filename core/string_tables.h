#pragma once
// The raw text tables behind core/strings.h, indexed by string id. They hold the wording of the
// program's Windows edition; the table builder rewrites what names Windows facilities through
// SystemWording() before anyone sees a text.

#include "core/strings.h"

namespace Quarlo::View {

extern const char* const kEnglishTexts[kStringCount];
extern const char* const kKoreanTexts[kStringCount];

}  // namespace Quarlo::View
