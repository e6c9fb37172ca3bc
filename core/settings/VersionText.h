#pragma once

#include <string_view>

// The product version shown in the main window's title, from the build's project version.
#ifdef CRB_VERSION_TEXT
inline constexpr std::string_view ProductVersionText = CRB_VERSION_TEXT;
#else
inline constexpr std::string_view ProductVersionText = "11.11.11";
#endif
