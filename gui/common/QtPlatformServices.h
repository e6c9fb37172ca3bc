#pragma once

#include "gui/common/PlatformServices.h"

// The real platform: message boxes, file dialogs, the system beep.
class CQtPlatformServices : public CPlatformServices {
public:
    MessageAnswer showMessage(QWidget* owner, const QString& text, const QString& caption, MessageButtons buttons,
                              MessageIcon icon) override;
    FileChoice chooseFile(QWidget* owner, const FileDialogRequest& request) override;
    void beep() override;

private:
    static MessageAnswer answerOf(int result, MessageButtons buttons);
};
