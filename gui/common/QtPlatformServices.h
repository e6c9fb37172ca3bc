#pragma once

#include "gui/common/CHelpViewer.h"
#include "gui/common/PlatformServices.h"

#include <memory>

// The real platform: message boxes, file dialogs, the system beep.
class CQtPlatformServices : public CPlatformServices {
public:
    MessageAnswer showMessage(QWidget* owner, const QString& text, const QString& caption, MessageButtons buttons,
                              MessageIcon icon) override;
    FileChoice chooseFile(QWidget* owner, const FileDialogRequest& request) override;
    void beep() override;
    bool showHelp(QWidget* owner, const QString& path, const QString& topic) override;
    std::unique_ptr<QPrinter> choosePrinter(QWidget* owner) override;

private:
    std::unique_ptr<CHelpViewer> help_;
    static MessageAnswer answerOf(int result, MessageButtons buttons);
};
