#pragma once

#include <cstdio>
#include <optional>

class QString;

// The options the editor answers without opening its window: --help, --version and
// --export OUT [--size WxH] CURVE. Anything else (a plain path) starts the editor.
// Returns the exit code when the arguments were such an option; nothing otherwise.
// `argv` is read before the application exists, so that an export can run offscreen;
// these options run on Qt Gui alone, the editor's library never loaded.
std::optional<int> runCommandLineOption(int argc, char** argv);

// One line on the console or into the file or pipe the stream goes to. A Windows
// console is given the text as UTF-16, which shows the accents whatever its code page;
// a redirected stream gets UTF-8, as on every other platform.
void sayOnConsole(FILE* stream, const QString& text);
