#include "app/playback.h"

#include <algorithm>
#include <charconv>

int NextFrame(int current, int start, int end, bool loop) {
    if (current < end) return current + 1;
    return loop ? start : current;
}

int TimerIntervalForFps(int fps) {
    fps = std::clamp(fps, kMinFps, kMaxFps);
    const int quotient = 1000 / fps;
    const int twiceRemainder = 2 * (1000 % fps);
    if (twiceRemainder > fps || (twiceRemainder == fps && quotient % 2 != 0)) return quotient + 1;
    return quotient;
}

int SliderMaximum(int frameCount) {
    return frameCount > 0 ? frameCount - 1 : 0;
}

std::optional<int> ParseFrameNumber(std::string_view text, int minimum, int maximum) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < minimum || value > maximum) return std::nullopt;
    return value;
}
