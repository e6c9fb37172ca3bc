#pragma once

#include <optional>

// The options the editor answers without opening its window: --help, --version and
// --export OUT [--size WxH] CURVE. Anything else (a plain path) starts the editor.
// Returns the exit code when the arguments were such an option; nothing otherwise.
// `argv` is read before the application exists, so that an export can run offscreen.
std::optional<int> runCommandLineOption(int argc, char** argv);
