// Where the main window opens: the place it had when it last closed,
// kept in the settings as text, when a screen attached now still shows it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "editor/port.h"

namespace velmora::editor {

// The settings key and the text kept under it: "x y width height" and a
// trailing " max" when the window was maximized.
inline constexpr std::string_view WINDOW_PLACE_KEY = "windowPlace";
std::string windowPlaceText(const WindowPlace& place);
// Nothing for text not in that form or a size that is not positive.
std::optional<WindowPlace> parseWindowPlace(std::string_view text);

// The saved place when one of `screens` shows the whole rectangle (a few
// pixels over its edges allowed: frames reach under a screen's edge when a
// window is snapped to it); nothing otherwise, and the window then opens
// where the toolkit puts it, centred at its minimum size.
std::optional<WindowPlace> placeToRestore(std::string_view saved,
                                          std::span<const ScreenArea> screens);

}  // namespace velmora::editor
