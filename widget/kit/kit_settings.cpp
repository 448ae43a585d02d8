// The dialog helpers' process-wide settings record.

#include "widget/kit/kit_settings.h"

namespace Quarlo::Widget::Kit {

KitSettings& SettingsRecord() {
  static KitSettings settings;
  return settings;
}

}  // namespace Quarlo::Widget::Kit
