// Drawing set-up on Cairo and Pango: only the fonts need warming.

#include "widget/graphics.h"

#include "widget/detail/text_formats.h"

namespace Quarlo::Widget {

void PrewarmGraphics() { Detail::PrewarmText(); }

void FinishPrewarmGraphics() { Detail::FinishPrewarmText(); }

}  // namespace Quarlo::Widget
