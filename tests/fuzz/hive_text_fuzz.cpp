// Feeds arbitrary bytes to the hive's text reader. Whatever it accepts must write back to a text
// that reads to the same tree, so the writer and the reader agree on every byte, and the counted
// length must be the written one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/hive_text.h"
#include "platform/registry/hive_tree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Quarlo::Platform;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  HiveNode root;
  size_t errorLine = 0;
  if (!ParseHiveText(text, root, errorLine)) return 0;
  const std::optional<std::string> written = WriteHiveText(root);
  const std::optional<size_t> counted = HiveTextSize(root);
  if (written.has_value() != counted.has_value()) abort();
  if (!written) return 0;
  if (*counted != written->size()) abort();
  HiveNode again;
  if (!ParseHiveText(*written, again, errorLine)) abort();
  if (WriteHiveText(again) != written) abort();
  return 0;
}
