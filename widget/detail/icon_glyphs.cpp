// Icon code point table: the program's icon code points to Material Icons glyphs of the same meaning.

#include "widget/detail/icon_glyphs.h"

#include <glib.h>

#include <array>

namespace Quarlo::Widget::Detail {
namespace {

struct IconEntry {
  char32_t codePoint;  // as the program names it
  char32_t material;   // Material Icons glyph
};

constexpr std::array<IconEntry, 28> kIcons{{
    {0xE70D, 0xE5CF},  // chevron down: expand_more
    {0xE70E, 0xE5CE},  // chevron up: expand_less
    {0xE711, 0xE5CD},  // cancel: close
    {0xE712, 0xE5D3},  // more: more_horiz
    {0xE713, 0xE8B8},  // settings
    {0xE71F, 0xE900},  // zoom out
    {0xE736, 0xEA19},  // reading mode (page layout): menu_book
    {0xE73E, 0xE5CA},  // check mark: check
    {0xE73F, 0xE5D1},  // back to window: fullscreen_exit
    {0xE740, 0xE5D0},  // full screen
    {0xE74D, 0xE872},  // delete
    {0xE76B, 0xE5CB},  // chevron left
    {0xE76C, 0xE5CC},  // chevron right
    {0xE786, 0xE41B},  // slide show
    {0xE7A6, 0xE41A},  // redo (rotate right): rotate_right
    {0xE7A7, 0xE419},  // undo (rotate left): rotate_left
    {0xE7B3, 0xE8F4},  // red eye (reveal password): visibility
    {0xE7BA, 0xE002},  // warning
    {0xE897, 0xE8FD},  // help: help_outline
    {0xE8A3, 0xE8FF},  // zoom in
    {0xE8A9, 0xE8F0},  // view all (image list): view_module
    {0xE8B7, 0xE2C7},  // folder
    {0xE8B9, 0xE3F4},  // picture: image
    {0xE8E5, 0xE2C8},  // open file: folder_open
    {0xE946, 0xE88F},  // info: info_outline
    {0xE9A6, 0xEA10},  // fit page: fit_screen
    {0xEA39, 0xE001},  // error badge: error_outline
    {0xEB9F, 0xE410},  // photo (thumbnail placeholder): photo
}};

}  // namespace

std::string IconGlyph(char32_t codePoint) {
  for (const IconEntry& entry : kIcons) {
    if (entry.codePoint == codePoint) {
      char utf8[8] = {};
      const int length = g_unichar_to_utf8(static_cast<gunichar>(entry.material), utf8);
      return std::string(utf8, static_cast<size_t>(length));
    }
  }
  return {};
}

std::vector<char32_t> IconCodePoints() {
  std::vector<char32_t> codePoints;
  for (const IconEntry& entry : kIcons) codePoints.push_back(entry.codePoint);
  return codePoints;
}

}  // namespace Quarlo::Widget::Detail
