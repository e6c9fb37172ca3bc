#pragma once

#include "core/settings/InstallationDirectories.h"

#include <QString>
#include <QStringList>
#include <QStringView>

class CPlatformServices;
struct Editor;

// The longest command line taken as a path; a longer one is cut.
inline constexpr int MaxCommandLineLength = 511;

// The program's arguments as one path: joined by single blanks, taken whole.
QString commandLineText(const QStringList& arguments);

// The path on a whole Windows command line, as the process was given it: the text after
// the program's name and the blanks that follow it, taken whole (blanks inside and at
// the end kept), without the quotes when they enclose the whole path.
QString commandLinePath(QStringView commandLine);

// The path this run of the program was given: on Windows from the process's own command
// line (commandLinePath), elsewhere its arguments joined (commandLineText).
QString startupPathText();

// Reads the file named on the command line into the editor's document: ".crb"
// anywhere in the text, in any letter case, chooses the curve reader.
void readStartupFile(CPlatformServices& services, Editor& editor, const QString& pathText);

// One editing run: the main window, modal, until it stops. Returns its result (1).
int runEditor(CPlatformServices& services, Editor& editor);

// Where this run of the program was installed and started from.
InstallationDirectories installationDirectories();

// Start-up, editing run, stop.
int startEditor(CPlatformServices& services, const QString& pathText);
