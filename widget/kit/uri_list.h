#pragma once
// Decoding the text/uri-list that drag sources offer (RFC 2483): one URI per line, "#" lines are comments,
// file URIs become native paths, every other URI is left out.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Quarlo::Widget::Kit {

// The native path of a file URI on this machine ("file:///a%20b", "file://localhost/a", "file:/a", or
// "file://" + localHost + "/a"), with percent escapes decoded to bytes. Nothing for another scheme or host,
// a relative path, a query or fragment, a malformed escape, or an escape that would make a NUL or a "/".
std::optional<std::string> PathOfFileUri(std::string_view uri, std::string_view localHost);

// The paths of the list's file URIs, in list order; lines end with CRLF or LF.
std::vector<std::string> DecodeUriList(std::string_view list, std::string_view localHost);

}  // namespace Quarlo::Widget::Kit
