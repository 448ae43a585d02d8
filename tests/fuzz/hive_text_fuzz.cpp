// Arbitrary bytes to the hive's text reader. Whatever it accepts must write back to a text that reads
// to the same tree, so the writer and the reader agree on every byte, and the counted length must be the
// written one. Status: "Parsed", or "Refused:<line>" with the line the reader stopped at.

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/hive_text.h"
#include "platform/registry/hive_tree.h"
#include "tests/fuzz/fuzz_targets.h"

std::string Quarlo::Fuzz::HiveTextFuzz(FuzzInput input) {
  using namespace Quarlo::Platform;
  std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
  HiveNode root;
  size_t errorLine = 0;
  if (!ParseHiveText(text, root, errorLine)) return "Refused:" + std::to_string(errorLine);
  const std::optional<std::string> written = WriteHiveText(root);
  const std::optional<size_t> counted = HiveTextSize(root);
  if (written.has_value() != counted.has_value()) Violated("the counted and the written hive text disagree");
  if (!written) return "TooLarge";
  if (*counted != written->size()) Violated("the counted length of a hive text is not the written one");
  HiveNode again;
  if (!ParseHiveText(*written, again, errorLine)) Violated("a written hive text does not read back");
  if (WriteHiveText(again) != written) Violated("a hive text read back writes differently");
  return "Parsed";
}
