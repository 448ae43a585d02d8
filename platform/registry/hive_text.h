#pragma once
// The text form of a hive file, meant to be read (and carefully edited) by a person:
//
//   QuarloView hive 1
//   ["Software\QuarloView"]
//   "Language" = dword 2
//   "Album1" = sz "/home/me/Pictures/Best"
//   "Recent" = multi_sz
//     "/home/me/comics/a.cbz"
//   "Blob" = binary 00ff7f
//   "Big" = qword 18446744073709551615
//
// The first line names the format and its version. Each key has a header line with its full path;
// values follow their key's header, values of the root come before the first header. Names and
// strings are double-quoted UTF-8 in which "%" followed by two hex digits stands for one byte; the
// writer escapes '"', '%', control bytes and bytes that are not UTF-8, so every byte round-trips.
// A multi-string lists one string per indented line below its value line. Lines starting with "#"
// and blank lines are ignored. Reading and writing never recurse per key level.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace Quarlo::Platform {

struct HiveNode;

inline constexpr std::string_view kHiveFormatLine = "QuarloView hive 1";

// The longest text the store reads or writes: a hive this large is damage.
inline constexpr size_t kMaxHiveTextBytes = size_t{64} << 20;

// The whole text of a hive, or nothing when it would be longer than kMaxHiveTextBytes.
std::optional<std::string> WriteHiveText(const HiveNode& root);

// The length of the text WriteHiveText gives, or nothing when it would be too long; cheaper, as
// the text is only counted.
std::optional<size_t> HiveTextSize(const HiveNode& root);

// Reads a hive's text into an empty root. On failure returns false, sets errorLine to the 1-based
// line that could not be read, and leaves root in an unspecified state. Duplicate value names in
// one key are a failure, since one of them would be lost; repeated key headers add to the same key.
// A text that breaks the registry's limits (hive.h) fails, and so does one whose keys' paths alone
// would be longer than kMaxHiveTextBytes when written (as every key's header holds its full path,
// a few short lines of deeply nested keys would otherwise write back hundreds of times larger).
bool ParseHiveText(std::string_view text, HiveNode& root, size_t& errorLine);

}  // namespace Quarlo::Platform
