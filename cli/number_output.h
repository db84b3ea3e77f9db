// How the statistics commands write numbers: fixed decimals in text, null in JSON where a
// figure is undefined.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdio>
#include <optional>
#include <string>

namespace drawfollow::cli {

inline nlohmann::ordered_json orNull(const std::optional<double>& value) {
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

inline std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace drawfollow::cli
