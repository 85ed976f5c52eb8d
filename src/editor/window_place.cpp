#include "editor/window_place.h"

#include <charconv>
#include <vector>

namespace velmora::editor {

namespace {

// How far a kept rectangle may reach past a screen's edge and still count
// as shown on it: the invisible resize borders some desktops draw around a
// window lie outside its visible frame.
constexpr int EDGE_SLACK = 16;

// In wide numbers: a settings file edited by hand may hold any int.
bool shows(const ScreenArea& s, const WindowPlace& p) {
  using W = long long;
  return W{p.x} >= W{s.x} - EDGE_SLACK && W{p.y} >= W{s.y} - EDGE_SLACK &&
         W{p.x} + p.width <= W{s.x} + s.width + EDGE_SLACK &&
         W{p.y} + p.height <= W{s.y} + s.height + EDGE_SLACK;
}

}  // namespace

std::string windowPlaceText(const WindowPlace& place) {
  std::string text = std::to_string(place.x) + ' ' + std::to_string(place.y) + ' ' +
                     std::to_string(place.width) + ' ' + std::to_string(place.height);
  if (place.maximized) text += " max";
  return text;
}

std::optional<WindowPlace> parseWindowPlace(std::string_view text) {
  std::vector<std::string_view> words;
  while (!text.empty()) {
    const std::size_t gap = text.find(' ');
    if (gap != 0) words.push_back(text.substr(0, gap));
    if (gap == std::string_view::npos) break;
    text.remove_prefix(gap + 1);
  }
  if (words.size() != 4 && !(words.size() == 5 && words[4] == "max")) return std::nullopt;
  int numbers[4] = {};
  for (int i = 0; i < 4; ++i) {
    const std::string_view w = words[static_cast<std::size_t>(i)];
    const auto [end, error] = std::from_chars(w.data(), w.data() + w.size(), numbers[i]);
    if (error != std::errc{} || end != w.data() + w.size()) return std::nullopt;
  }
  if (numbers[2] <= 0 || numbers[3] <= 0) return std::nullopt;
  return WindowPlace{numbers[0], numbers[1], numbers[2], numbers[3], words.size() == 5};
}

std::optional<WindowPlace> placeToRestore(std::string_view saved,
                                          std::span<const ScreenArea> screens) {
  const std::optional<WindowPlace> place = parseWindowPlace(saved);
  if (!place) return std::nullopt;
  for (const ScreenArea& screen : screens)
    if (shows(screen, *place)) return place;
  return std::nullopt;
}

}  // namespace velmora::editor
