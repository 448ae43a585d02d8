// text/uri-list decoding.

#include "widget/kit/uri_list.h"

#include <cctype>

namespace Quarlo::Widget::Kit {
namespace {

constexpr std::string_view kScheme = "file:";

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decodes %XX escapes; nothing when one is malformed or stands for a NUL or a separator, which would change
// what the path names.
std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    const int high = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
    const int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
    if (high < 0 || low < 0) return std::nullopt;
    const char byte = static_cast<char>(high * 16 + low);
    if (byte == '\0' || byte == '/') return std::nullopt;
    out += byte;
    i += 2;
  }
  return out;
}

bool IsLocalHost(std::string_view host, std::string_view localHost) {
  return host.empty() || host == "localhost" || (!localHost.empty() && host == localHost);
}

}  // namespace

std::optional<std::string> PathOfFileUri(std::string_view uri, std::string_view localHost) {
  if (!StartsWithIgnoringCase(uri, kScheme)) return std::nullopt;
  std::string_view rest = uri.substr(kScheme.size());
  if (rest.find_first_of("?#") != std::string_view::npos) return std::nullopt;
  if (rest.starts_with("//")) {
    rest.remove_prefix(2);
    const size_t slash = rest.find('/');
    if (slash == std::string_view::npos || !IsLocalHost(rest.substr(0, slash), localHost))
      return std::nullopt;
    rest.remove_prefix(slash);
  }
  if (!rest.starts_with("/")) return std::nullopt;
  return Unescape(rest);
}

std::vector<std::string> DecodeUriList(std::string_view list, std::string_view localHost) {
  std::vector<std::string> paths;
  while (!list.empty()) {
    const size_t end = list.find('\n');
    std::string_view line = list.substr(0, end);
    list = end == std::string_view::npos ? std::string_view{} : list.substr(end + 1);
    // Sources end lines with CRLF as the format asks, with LF alone, and some end the list with a NUL.
    while (!line.empty() && (line.back() == '\r' || line.back() == '\0')) line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    if (auto path = PathOfFileUri(line, localHost)) paths.push_back(std::move(*path));
  }
  return paths;
}

}  // namespace Quarlo::Widget::Kit
