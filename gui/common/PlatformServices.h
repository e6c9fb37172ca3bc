#pragma once

#include "core/common/UserMessage.h" // MessageIcon, MessageButtons, MessageAnswer
#include "core/curve/FileDialogRules.h"

#include <QString>
#include <QStringList>

#include <memory>

class QPrinter;
class QWidget;

// What a file-choice dialog is asked to show.
struct FileDialogRequest {
    bool save = false;
    QString title;
    QStringList filters;      // "Fichier courbe (*.crb)", ...; the first is selected
    QString initialName;      // a file name or a pattern such as "*.crb"
    QString defaultExtension; // without the dot
};

// What it gives back: a path, or why there is none.
struct FileChoice {
    FileDialogError error = FileDialogError::Cancelled;
    QString path;
};

// Everything that would block on a user or reach outside the program goes through
// here: the program uses real widgets, the tests a scripted twin.
class CPlatformServices {
public:
    virtual ~CPlatformServices() = default;

    virtual MessageAnswer showMessage(QWidget* owner, const QString& text, const QString& caption,
                                      MessageButtons buttons, MessageIcon icon) = 0;
    virtual FileChoice chooseFile(QWidget* owner, const FileDialogRequest& request) = 0;
    virtual void beep() = 0;
    // Shows the help file at `path`, opened at the anchor `topic` (its contents when
    // empty); false when it cannot be shown.
    virtual bool showHelp(QWidget* owner, const QString& path, const QString& topic) = 0;
    // The print dialog (no selection, no page range), on the default printer each time;
    // the printer chosen, or null when the user cancelled.
    virtual std::unique_ptr<QPrinter> choosePrinter(QWidget* owner) = 0;

    // The window that has the keyboard focus, for messages "owned by the focus".
    static QWidget* focusOwner();
};
