#pragma once

#include <filesystem>

class QString;

// The editor's windows live in a library of their own beside the program file, loaded
// only when the editor opens: the command-line options, the headless export among them,
// run on Qt Gui alone and never load Qt Widgets or Qt PrintSupport.

// The library's entry: runs the editor as the program's main would.
using EditorMain = int (*)(int argc, char** argv);
inline constexpr char EditorMainName[] = "crbeditRunEditor";

// The folder of the running program file (on Linux, the links to it resolved: the
// command in bin/ is one); empty if it cannot be known.
std::filesystem::path programDirectory();

// Loads the editor's library from `directory` (absolute) and finds its entry. Null,
// with a French line saying why in `error`, when the folder is unknown or the file is
// missing or cannot be loaded.
EditorMain loadEditorModule(const std::filesystem::path& directory, QString& error);

// Loads the library beside the program and runs the editor; when it cannot be loaded,
// says why (on the console, and in a message box on Windows) and returns 1.
int runEditorModule(int argc, char** argv);
