// The key map's changes, each keeping its invariants, and its stored form.

#include "app/key_map.h"

#include <algorithm>

namespace App {
namespace {

bool Holds(const ChordList& list, const HotkeyChord& chord) {
  return std::find(list.begin(), list.end(), chord) != list.end();
}

// The chords a command may hold out of a wished list: in order, without key 0, without repeats, at
// most kMaxChords.
ChordList Admissible(std::span<const HotkeyChord> chords) {
  ChordList taken;
  for (const HotkeyChord& chord : chords) {
    if (taken.size() == kMaxChords) break;
    if (chord.IsEmpty() || Holds(taken, chord)) continue;
    taken.push_back(chord);
  }
  return taken;
}

}  // namespace

KeyMap::KeyMap() { ResetAll(); }

void KeyMap::ResetAll() {
  for (const CommandInfo& command : CommandTable()) lists_[IndexOf(command.id)] = command.defaults;
}

void KeyMap::ResetToDefault(CommandId id) { SetChords(id, Command(id).defaults); }

void KeyMap::SetChords(CommandId id, std::span<const HotkeyChord> chords) {
  ChordList taken = Admissible(chords);
  for (size_t other = 0; other < lists_.size(); ++other) {
    if (other == IndexOf(id)) continue;
    std::erase_if(lists_[other], [&](const HotkeyChord& chord) { return Holds(taken, chord); });
  }
  lists_[IndexOf(id)] = std::move(taken);
}

std::optional<CommandId> KeyMap::FindCommand(const HotkeyChord& chord) const {
  if (chord.IsEmpty()) return std::nullopt;
  for (const CommandInfo& command : CommandTable()) {
    if (Holds(Chords(command.id), chord)) return command.id;
  }
  return std::nullopt;
}

void KeyMap::LoadOverrides(const std::map<std::string, std::string>& keys) {
  ResetAll();
  for (const auto& [name, text] : keys) {
    if (auto id = CommandByName(name)) SetChords(*id, ParseChords(text));
  }
}

std::map<std::string, std::string> KeyMap::ExportOverrides() const {
  std::map<std::string, std::string> keys;
  for (const CommandInfo& command : CommandTable()) {
    const ChordList& chords = Chords(command.id);
    if (chords != command.defaults) keys[std::string(command.name)] = FormatChords(chords);
  }
  return keys;
}

}  // namespace App
