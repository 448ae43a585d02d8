// Arbitrary bytes to the hive's text reader. Whatever it accepts must write back to a text that reads
// to the same tree, so the writer and the reader agree on every byte. Status: "Parsed", or
// "Refused:<line>" with the line the reader stopped at.

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
  const std::string written = WriteHiveText(root);
  HiveNode again;
  if (!ParseHiveText(written, again, errorLine)) Violated("a written hive text does not read back");
  if (WriteHiveText(again) != written) Violated("a hive text read back writes differently");
  return "Parsed";
}
