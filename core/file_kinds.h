#pragma once
// Which files are pictures and which are archives, and the display names of picture formats.

#include <string>
#include <string_view>
#include <vector>

namespace Quarlo::Imaging {
struct DecoderInfo;
}

namespace Quarlo::View {

// Lower-case extensions (no dot) of every picture format this process can read, sorted by byte
// order without duplicates. Built once on first use (callers on any thread wait for the one build).
const std::vector<std::string>& PictureExtensions();

// Builds the extension table from the decoders' comma-separated dotted lists. "webp" is always in
// it; when no decoder contributes anything, a fixed fallback list is used.
std::vector<std::string> BuildPictureExtensions(const std::vector<std::string>& decoderLists);

// Lower-case extension of a path or entry name ("photo.JPG" -> "jpg"), or empty.
std::string ExtensionOf(std::string_view name);

bool IsPictureName(std::string_view name);
bool IsArchiveName(std::string_view name);

// PictureExtensions plus the archive extensions, sorted, without duplicates.
std::vector<std::string> OpenableExtensions();

// "*.bmp;*.dib;...;*.zip;*.cbz": the Open dialog's filter for pictures and archives.
std::string OpenDialogPattern();

// The display name of a decoder's format ("JPEG", "PNG", ... or its friendly name without
// " Decoder"); "?" when the decoder has no usable name.
std::string FormatName(const Imaging::DecoderInfo& decoder);

}  // namespace Quarlo::View
