// GDK key events to virtual-key codes, scan codes and extended flags, on the layouts people use. The
// layout tables hold the level-0 symbols that xkb-data gives each key.

#include "widget/detail/key_codes.h"

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "widget/input/virtual_keys.h"

namespace Quarlo::Widget::Detail {
namespace {

// X11 keycodes are evdev codes + 8.
constexpr uint32_t Keycode(uint32_t evdev) { return evdev + 8; }

// The letter keys by US position: Q W E R T Y U I O P, A S D F G H J K L, Z X C V B N M.
constexpr std::array<uint32_t, 26> kLetterEvdev = {16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 30, 31, 32,
                                                   33, 34, 35, 36, 37, 38, 44, 45, 46, 47, 48, 49, 50};

struct Layout {
  const char* name;
  std::array<uint32_t, 26> letterKeys;                // level-0 symbols of the keys in kLetterEvdev
  std::vector<std::pair<uint32_t, uint32_t>> others;  // evdev code, level-0 symbol
  bool latin;                                         // expected TypesLatinLetters

  uint32_t KeyvalAt(uint32_t keycode) const {
    for (size_t i = 0; i < kLetterEvdev.size(); ++i) {
      if (Keycode(kLetterEvdev[i]) == keycode) return letterKeys[i];
    }
    for (const auto& [evdev, keyval] : others) {
      if (Keycode(evdev) == keycode) return keyval;
    }
    return GDK_KEY_VoidSymbol;
  }
};

const Layout& Us() {
  static const Layout layout{"us",
                             {'q', 'w', 'e', 'r', 't', 'y', 'u', 'i', 'o', 'p', 'a', 's', 'd',
                              'f', 'g', 'h', 'j', 'k', 'l', 'z', 'x', 'c', 'v', 'b', 'n', 'm'},
                             {{2, '1'},
                              {11, '0'},
                              {12, '-'},
                              {13, '='},
                              {26, '['},
                              {27, ']'},
                              {39, ';'},
                              {40, '\''},
                              {41, '`'},
                              {43, '\\'},
                              {51, ','},
                              {52, '.'},
                              {53, '/'},
                              {86, '<'}},
                             true};
  return layout;
}

const Layout& German() {
  static const Layout layout{"de",
                             {'q', 'w', 'e', 'r', 't', 'z', 'u', 'i', 'o', 'p', 'a', 's', 'd',
                              'f', 'g', 'h', 'j', 'k', 'l', 'y', 'x', 'c', 'v', 'b', 'n', 'm'},
                             {{2, '1'},
                              {12, GDK_KEY_ssharp},
                              {13, GDK_KEY_dead_acute},
                              {26, GDK_KEY_udiaeresis},
                              {27, GDK_KEY_plus},
                              {39, GDK_KEY_odiaeresis},
                              {40, GDK_KEY_adiaeresis},
                              {41, GDK_KEY_dead_circumflex},
                              {43, GDK_KEY_numbersign},
                              {53, GDK_KEY_minus},
                              {86, GDK_KEY_less}},
                             true};
  return layout;
}

const Layout& French() {
  static const Layout layout{"fr",
                             {'a', 'z', 'e', 'r', 't', 'y', 'u', 'i', 'o', 'p', 'q', 's', 'd',
                              'f', 'g', 'h', 'j', 'k', 'l', 'w', 'x', 'c', 'v', 'b', 'n', GDK_KEY_comma},
                             {{2, GDK_KEY_ampersand},
                              {3, GDK_KEY_eacute},
                              {10, GDK_KEY_ccedilla},
                              {11, GDK_KEY_agrave},
                              {12, GDK_KEY_parenright},
                              {13, GDK_KEY_equal},
                              {26, GDK_KEY_dead_circumflex},
                              {27, GDK_KEY_dollar},
                              {39, 'm'},
                              {40, GDK_KEY_ugrave},
                              {41, GDK_KEY_twosuperior},
                              {43, GDK_KEY_asterisk},
                              {51, GDK_KEY_semicolon},
                              {52, GDK_KEY_colon},
                              {53, GDK_KEY_exclam},
                              {86, GDK_KEY_less}},
                             true};
  return layout;
}

const Layout& Russian() {
  static const Layout layout{
      "ru",
      {GDK_KEY_Cyrillic_shorti, GDK_KEY_Cyrillic_tse,     GDK_KEY_Cyrillic_u,   GDK_KEY_Cyrillic_ka,
       GDK_KEY_Cyrillic_ie,     GDK_KEY_Cyrillic_en,      GDK_KEY_Cyrillic_ghe, GDK_KEY_Cyrillic_sha,
       GDK_KEY_Cyrillic_shcha,  GDK_KEY_Cyrillic_ze,      GDK_KEY_Cyrillic_ef,  GDK_KEY_Cyrillic_yeru,
       GDK_KEY_Cyrillic_ve,     GDK_KEY_Cyrillic_a,       GDK_KEY_Cyrillic_pe,  GDK_KEY_Cyrillic_er,
       GDK_KEY_Cyrillic_o,      GDK_KEY_Cyrillic_el,      GDK_KEY_Cyrillic_de,  GDK_KEY_Cyrillic_ya,
       GDK_KEY_Cyrillic_che,    GDK_KEY_Cyrillic_es,      GDK_KEY_Cyrillic_em,  GDK_KEY_Cyrillic_i,
       GDK_KEY_Cyrillic_te,     GDK_KEY_Cyrillic_softsign},
      {{2, '1'},
       {26, GDK_KEY_Cyrillic_ha},
       {27, GDK_KEY_Cyrillic_hardsign},
       {39, GDK_KEY_Cyrillic_zhe},
       {40, GDK_KEY_Cyrillic_e},
       {41, GDK_KEY_Cyrillic_io},
       {43, GDK_KEY_backslash},
       {51, GDK_KEY_Cyrillic_be},
       {52, GDK_KEY_Cyrillic_yu},
       {53, GDK_KEY_period}},
      false};
  return layout;
}

const Layout& Greek() {
  static const Layout layout{"gr",
                             {GDK_KEY_semicolon,     GDK_KEY_Greek_finalsmallsigma,
                              GDK_KEY_Greek_epsilon, GDK_KEY_Greek_rho,
                              GDK_KEY_Greek_tau,     GDK_KEY_Greek_upsilon,
                              GDK_KEY_Greek_theta,   GDK_KEY_Greek_iota,
                              GDK_KEY_Greek_omicron, GDK_KEY_Greek_pi,
                              GDK_KEY_Greek_alpha,   GDK_KEY_Greek_sigma,
                              GDK_KEY_Greek_delta,   GDK_KEY_Greek_phi,
                              GDK_KEY_Greek_gamma,   GDK_KEY_Greek_eta,
                              GDK_KEY_Greek_xi,      GDK_KEY_Greek_kappa,
                              GDK_KEY_Greek_lamda,   GDK_KEY_Greek_zeta,
                              GDK_KEY_Greek_chi,     GDK_KEY_Greek_psi,
                              GDK_KEY_Greek_omega,   GDK_KEY_Greek_beta,
                              GDK_KEY_Greek_nu,      GDK_KEY_Greek_mu},
                             {{2, '1'},
                              {26, GDK_KEY_bracketleft},
                              {27, GDK_KEY_bracketright},
                              {39, GDK_KEY_dead_acute},
                              {40, GDK_KEY_apostrophe},
                              {51, GDK_KEY_comma},
                              {53, GDK_KEY_slash}},
                             false};
  return layout;
}

const Layout& Dvorak() {
  static const Layout layout{"us(dvorak)",
                             {GDK_KEY_apostrophe,
                              GDK_KEY_comma,
                              GDK_KEY_period,
                              'p',
                              'y',
                              'f',
                              'g',
                              'c',
                              'r',
                              'l',
                              'a',
                              'o',
                              'e',
                              'u',
                              'i',
                              'd',
                              'h',
                              't',
                              'n',
                              GDK_KEY_semicolon,
                              'q',
                              'j',
                              'k',
                              'x',
                              'b',
                              'm'},
                             {{12, GDK_KEY_bracketleft},
                              {13, GDK_KEY_bracketright},
                              {26, GDK_KEY_slash},
                              {27, GDK_KEY_equal},
                              {39, 's'},
                              {40, GDK_KEY_minus},
                              {51, 'w'},
                              {52, 'v'},
                              {53, 'z'}},
                             true};
  return layout;
}

const std::vector<const Layout*>& AllLayouts() {
  static const std::vector<const Layout*> layouts{&Us(),      &German(), &French(),
                                                  &Russian(), &Greek(),  &Dvorak()};
  return layouts;
}

// The code of the key at an evdev position on a layout, as the native window would ask for it.
uint32_t VkOn(const Layout& layout, uint32_t evdev) {
  const bool latin = TypesLatinLetters([&](uint32_t keycode) { return layout.KeyvalAt(keycode); });
  return TranslateKey(KeyPress{layout.KeyvalAt(Keycode(evdev)), Keycode(evdev), latin}).vk;
}

TEST(KeyCodes, TellsLatinLayoutsFromOtherScripts) {
  for (const Layout* layout : AllLayouts()) {
    EXPECT_EQ(TypesLatinLetters([&](uint32_t keycode) { return layout->KeyvalAt(keycode); }), layout->latin)
        << layout->name;
  }
}

TEST(KeyCodes, LettersFollowLatinLayoutsAndTheUsPositionElsewhere) {
  struct Case {
    const Layout& layout;
    uint32_t evdev;
    uint32_t vk;
  };
  const Case cases[] = {
      {Us(), 30, 'A'},
      {Us(), 44, 'Z'},
      // QWERTZ: the key marked Z sits where US has Y.
      {German(), 21, 'Z'},
      {German(), 44, 'Y'},
      // AZERTY: A and Q, Z and W trade places, M sits on the US semicolon key, and the US M key types a
      // comma, which makes it the comma key.
      {French(), 16, 'A'},
      {French(), 30, 'Q'},
      {French(), 17, 'Z'},
      {French(), 44, 'W'},
      {French(), 39, 'M'},
      {French(), 50, Vk::OemComma},
      // Dvorak's letters move everywhere, its punctuation onto letter keys.
      {Dvorak(), 39, 'S'},
      {Dvorak(), 52, 'V'},
      {Dvorak(), 16, Vk::Oem7},
      // Cyrillic and Greek letters give the US letter of their key, also where Greek types a semicolon.
      {Russian(), 46, 'C'},
      {Russian(), 44, 'Z'},
      {Russian(), 16, 'Q'},
      {Greek(), 16, 'Q'},
      {Greek(), 17, 'W'},
      {Greek(), 46, 'C'},
  };
  for (const Case& c : cases)
    EXPECT_EQ(VkOn(c.layout, c.evdev), c.vk) << c.layout.name << " evdev " << c.evdev;
}

TEST(KeyCodes, DigitsAndPunctuationFollowTheUsPosition) {
  struct Case {
    const Layout& layout;
    uint32_t evdev;
    uint32_t vk;
  };
  const Case cases[] = {
      {Us(), 2, '1'},
      {Us(), 11, '0'},
      {Us(), 12, Vk::OemMinus},
      {Us(), 13, Vk::OemPlus},
      {Us(), 39, Vk::Oem1},
      {Us(), 40, Vk::Oem7},
      {Us(), 41, Vk::Oem3},
      {Us(), 43, Vk::Oem5},
      {Us(), 51, Vk::OemComma},
      {Us(), 52, Vk::OemPeriod},
      {Us(), 53, Vk::Oem2},
      {Us(), 86, Vk::Oem102},
      // AZERTY's digit row types symbols without Shift, yet gives the digit codes.
      {French(), 2, '1'},
      {French(), 3, '2'},
      {French(), 10, '9'},
      {French(), 11, '0'},
      {French(), 12, Vk::OemMinus},
      {French(), 40, Vk::Oem7},
      {French(), 51, Vk::OemComma},
      {French(), 53, Vk::Oem2},
      {German(), 12, Vk::OemMinus},
      {German(), 39, Vk::Oem1},
      {German(), 53, Vk::Oem2},
      {Russian(), 2, '1'},
      {Russian(), 39, Vk::Oem1},
      {Russian(), 41, Vk::Oem3},
      {Russian(), 52, Vk::OemPeriod},
      {Greek(), 39, Vk::Oem1},
      {Dvorak(), 12, Vk::OemMinus},
  };
  for (const Case& c : cases)
    EXPECT_EQ(VkOn(c.layout, c.evdev), c.vk) << c.layout.name << " evdev " << c.evdev;
}

TEST(KeyCodes, BracketKeysAreTheSameOnEveryLayout) {
  for (const Layout* layout : AllLayouts()) {
    EXPECT_EQ(VkOn(*layout, 26), Vk::Oem4) << layout->name;
    EXPECT_EQ(VkOn(*layout, 27), Vk::Oem6) << layout->name;
  }
}

struct FixedCase {
  uint32_t keyval;
  uint32_t evdev;
  uint32_t vk;
  uint32_t scanCode;
  bool extended;
};

void ExpectTranslations(const std::vector<FixedCase>& cases) {
  for (const FixedCase& c : cases) {
    const WindowsKey key = TranslateKey(KeyPress{c.keyval, Keycode(c.evdev), true});
    EXPECT_EQ(key.vk, c.vk) << "keyval 0x" << std::hex << c.keyval;
    EXPECT_EQ(key.scanCode, c.scanCode) << "keyval 0x" << std::hex << c.keyval;
    EXPECT_EQ(key.extended, c.extended) << "keyval 0x" << std::hex << c.keyval;
  }
}

TEST(KeyCodes, NumericPadFollowsNumLock) {
  ExpectTranslations({
      // Num Lock on: digits and the decimal key, also where the layout types a comma there.
      {GDK_KEY_KP_7, 71, Vk::Numpad0 + 7, 0x47, false},
      {GDK_KEY_KP_0, 82, Vk::Numpad0, 0x52, false},
      {GDK_KEY_KP_Decimal, 83, Vk::Decimal, 0x53, false},
      {GDK_KEY_KP_Separator, 83, Vk::Decimal, 0x53, false},
      // Num Lock off: the navigation codes, without the extended flag of the cluster's own keys.
      {GDK_KEY_KP_Home, 71, Vk::Home, 0x47, false},
      {GDK_KEY_KP_Page_Down, 81, Vk::PageDown, 0x51, false},
      {GDK_KEY_KP_Insert, 82, Vk::Insert, 0x52, false},
      {GDK_KEY_KP_Delete, 83, Vk::Delete, 0x53, false},
      {GDK_KEY_KP_Begin, 76, Vk::Clear, 0x4C, false},
      // Either way.
      {GDK_KEY_KP_Multiply, 55, Vk::Multiply, 0x37, false},
      {GDK_KEY_KP_Add, 78, Vk::Add, 0x4E, false},
      {GDK_KEY_KP_Subtract, 74, Vk::Subtract, 0x4A, false},
      {GDK_KEY_KP_Divide, 98, Vk::Divide, 0x35, true},
      {GDK_KEY_KP_Enter, 96, Vk::Enter, 0x1C, true},
      {GDK_KEY_Num_Lock, 69, Vk::NumLock, 0x45, true},
  });
}

TEST(KeyCodes, FunctionNavigationAndModifierKeys) {
  ExpectTranslations({
      {GDK_KEY_Escape, 1, Vk::Escape, 0x01, false},
      {GDK_KEY_Return, 28, Vk::Enter, 0x1C, false},
      {GDK_KEY_space, 57, Vk::Space, 0x39, false},
      {GDK_KEY_F1, 59, Vk::F1, 0x3B, false},
      {GDK_KEY_F12, 88, Vk::F1 + 11, 0x58, false},
      {GDK_KEY_F13, 183, Vk::F1 + 12, 0x64, false},
      {GDK_KEY_F23, 193, Vk::F1 + 22, 0x6E, false},
      {GDK_KEY_F24, 194, Vk::F24, 0x76, false},
      {GDK_KEY_Home, 102, Vk::Home, 0x47, true},
      {GDK_KEY_Left, 105, Vk::Left, 0x4B, true},
      {GDK_KEY_Page_Down, 109, Vk::PageDown, 0x51, true},
      {GDK_KEY_Delete, 111, Vk::Delete, 0x53, true},
      {GDK_KEY_Print, 99, Vk::PrintScreen, 0x37, true},
      {GDK_KEY_Pause, 119, Vk::Pause, 0x45, false},
      {GDK_KEY_Scroll_Lock, 70, Vk::ScrollLock, 0x46, false},
      // Modifiers give the generic codes; the extended flag marks the right-hand Ctrl and Alt.
      {GDK_KEY_Shift_L, 42, Vk::Shift, 0x2A, false},
      {GDK_KEY_Shift_R, 54, Vk::Shift, 0x36, false},
      {GDK_KEY_Control_L, 29, Vk::Ctrl, 0x1D, false},
      {GDK_KEY_Control_R, 97, Vk::Ctrl, 0x1D, true},
      {GDK_KEY_Alt_L, 56, Vk::Alt, 0x38, false},
      {GDK_KEY_ISO_Level3_Shift, 100, Vk::Alt, 0x38, true},
      {GDK_KEY_Super_L, 125, Vk::LeftWin, 0x5B, true},
      {GDK_KEY_Menu, 127, Vk::Applications, 0x5D, true},
      {GDK_KEY_Hangul, 122, Vk::Hangul, 0, false},
  });
}

TEST(KeyCodes, KeysWithoutAKnownPositionFollowTheirSymbol) {
  struct Case {
    uint32_t keyval;
    uint32_t vk;
    bool extended;
  };
  const Case cases[] = {
      {'a', 'A', false},
      {'7', '7', false},
      {GDK_KEY_comma, Vk::OemComma, false},
      {GDK_KEY_Home, Vk::Home, true},
      {GDK_KEY_KP_Home, Vk::Home, false},
      {GDK_KEY_Cyrillic_a, 0, false},
      {GDK_KEY_dead_acute, 0, false},
  };
  for (const Case& c : cases) {
    const WindowsKey key = TranslateKey(KeyPress{c.keyval, 0, true});
    EXPECT_EQ(key.vk, c.vk) << "keyval 0x" << std::hex << c.keyval;
    EXPECT_EQ(key.scanCode, 0u);
    EXPECT_EQ(key.extended, c.extended) << "keyval 0x" << std::hex << c.keyval;
  }
}

TEST(KeyCodes, LatinLetterKeyTypingAnotherLetterKeepsItsUsLetter) {
  // Turkish Q types a dotless i on the US I key.
  EXPECT_EQ(TranslateKey(KeyPress{GDK_KEY_idotless, Keycode(23), true}).vk, uint32_t{'I'});
}

}  // namespace
}  // namespace Quarlo::Widget::Detail
