#pragma once
// The choices the settings record holds. Each is stored in the hive as the number of its value, so
// the numbers below are part of the stored format and never change; a new value goes at the end.

#include <cstdint>

namespace Quarlo::View {

// The interface language.
enum class LanguageChoice : int32_t { System = 0, Korean = 1, English = 2 };

// The theme: the desktop's light or dark preference, or one of them always.
enum class ThemeChoice : int32_t { System = 0, Light = 1, Dark = 2 };

// What paging past either end of the list does.
enum class EndAction : int32_t { Stop = 0, WrapAround = 1, NextFolder = 2, Ask = 3 };

// How a picture is sized to the window. Fit shows small pictures at actual size; Fill enlarges them.
enum class FitMode : int32_t { Fit = 0, Fill = 1, FitWidth = 2, FitHeight = 3, ActualSize = 4 };

// Pictures one at a time, two facing pages, or one long vertical strip.
enum class PageMode : int32_t { SinglePage = 0, TwoPages = 1, Webtoon = 2 };

// What is drawn behind the picture; Custom uses the customBackground colour.
enum class BackgroundKind : int32_t { Theme = 0, Black = 1, Gray = 2, White = 3, Custom = 4 };

// What a wheel turn without Ctrl does. Navigate scrolls a zoomed picture first, then pages.
enum class WheelAction : int32_t { Navigate = 0, Zoom = 1, Scroll = 2 };

// What a double-click on the picture does.
enum class DoubleClickAction : int32_t { FullScreen = 0, FitOrActualSize = 1, Nothing = 2 };

// The format converted pictures are written in.
enum class ConvertFormat : int32_t { Jpeg = 0, Png = 1, WebP = 2, Bmp = 3, Tiff = 4, Gif = 5 };

// How converted pictures are resized: not at all, to a long side, by a percentage, or into a box.
enum class ConvertResize : int32_t { KeepSize = 0, LongSide = 1, Percentage = 2, FitInBox = 3 };

}  // namespace Quarlo::View
