#pragma once
// A window's binding of key chords to commands, which the user can change. The settings keep only
// the commands whose chords differ from their defaults.

#include <array>
#include <map>
#include <optional>
#include <span>
#include <string>

#include "app/commands.h"

namespace App {

// One chord list per command. Every change keeps these true: a list holds at most kMaxChords chords,
// no chord twice; no list holds a chord with key 0; no chord belongs to two commands.
class KeyMap {
 public:
  // Every command with its default chords.
  KeyMap();

  // Every command back to its default chords; the settings dialog's "Reset all".
  void ResetAll();

  // SetChords(id, the defaults of id); a "Default" button of the shortcut editor.
  void ResetToDefault(CommandId id);

  // Gives id the chords in order, skipping chords with key 0 and repeats, keeping the first
  // kMaxChords; each of them is taken away from whichever other command held it.
  void SetChords(CommandId id, std::span<const HotkeyChord> chords);

  // The lowest command holding the chord; nothing for a chord with key 0. The key dispatch calls it
  // with the modifiers of the key press.
  std::optional<CommandId> FindCommand(const HotkeyChord& chord) const;

  const ChordList& Chords(CommandId id) const { return lists_[IndexOf(id)]; }

  // ResetAll, then the stored text of each entry whose name is a command name applied in map order
  // with SetChords; other names are ignored. Called when the window is created, with the settings'
  // Keys map.
  void LoadOverrides(const std::map<std::string, std::string>& keys);

  // Command name -> stored text for every command whose list differs from its defaults (in length,
  // chords or order); a command with all chords removed gets an empty text. Written back into the
  // settings' Keys map when the window closes and when the settings dialog is accepted.
  std::map<std::string, std::string> ExportOverrides() const;

  bool operator==(const KeyMap&) const = default;

 private:
  std::array<ChordList, kCommandCount> lists_;
};

}  // namespace App
