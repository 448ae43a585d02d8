// text/uri-list decoding: which lines become paths, and how file URIs turn into native paths.

#include "widget/kit/uri_list.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace Quarlo::Widget::Kit {
namespace {

using Paths = std::vector<std::string>;

TEST(PathOfFileUri, DecodesLocalFileUris) {
  struct Case {
    const char* uri;
    std::optional<std::string> path;
  };
  const Case cases[] = {
      {"file:///home/a/b.jpg", "/home/a/b.jpg"},
      {"file:///home/a/My%20Pictures/%ED%95%9C.png", "/home/a/My Pictures/한.png"},
      {"FILE:///x", "/x"},
      {"file://localhost/srv/c.zip", "/srv/c.zip"},
      {"file://studio/srv/c.zip", "/srv/c.zip"},
      {"file:/old/style", "/old/style"},
      {"file:///", "/"},
      // Bytes that are not UTF-8 stay as they are: Linux names are bytes.
      {"file:///raw/%FF%FE", "/raw/\xFF\xFE"},
      {"file:///a%25b", "/a%b"},
      // Another machine's file, a relative path, and what is no path at all.
      {"file://elsewhere/srv/c.zip", std::nullopt},
      {"file://localhost", std::nullopt},
      {"file:relative/x", std::nullopt},
      {"https://example.com/a.jpg", std::nullopt},
      {"trash:///a.jpg", std::nullopt},
      {"/plain/path", std::nullopt},
      // Malformed or dangerous escapes are refused, not guessed at.
      {"file:///a%2", std::nullopt},
      {"file:///a%zz", std::nullopt},
      {"file:///a%00b", std::nullopt},
      {"file:///a%2Fb", std::nullopt},
      {"file:///a?b=1", std::nullopt},
      {"file:///a#top", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.uri);
    EXPECT_EQ(PathOfFileUri(c.uri, "studio"), c.path);
  }
}

TEST(DecodeUriList, KeepsTheFileLinesInOrder) {
  struct Case {
    const char* what;
    std::string list;
    Paths paths;
  };
  const Case cases[] = {
      {"CRLF lines",
       "file:///a/folder\r\nfile:///a/one.jpg\r\nfile:///a/two.png\r\n",
       {"/a/folder", "/a/one.jpg", "/a/two.png"}},
      {"LF lines, no final end", "file:///a\nfile:///b", {"/a", "/b"}},
      {"comments and blank lines", "# from the file manager\r\n\r\nfile:///a\r\n#file:///b\r\n", {"/a"}},
      {"web and other schemes are left out",
       "https://example.com/x.jpg\r\nfile:///a\r\nsmb://host/share/y\r\n",
       {"/a"}},
      {"a NUL after the last line", std::string("file:///a\r\n\0", 12), {"/a"}},
      {"nothing usable", "http://x/\r\n# only a comment\r\n", {}},
      {"empty", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DecodeUriList(c.list, "studio"), c.paths);
  }
}

}  // namespace
}  // namespace Quarlo::Widget::Kit
