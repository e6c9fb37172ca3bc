#pragma once

class QDialog;

// Runs `dialog` until it closes and returns its result. The dialog holds the window that
// opened it and that window's own openers, as a dialog box holds its owner; a window
// apart, like the help window, stays usable beside it, as a program of its own would.
// A dialog with no owner holds every window of the editor.
int runModal(QDialog& dialog);

// Runs the editor's own window, the first of the chain: it holds no other window.
int runFirstWindow(QDialog& window);
