#pragma once

#include "gui/common/PlatformServices.h"

#include <deque>
#include <functional>
#include <memory>
#include <vector>

struct RecordedMessage {
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

// Platform services for tests: every message and dialog is recorded and answered
// from a script, so nothing ever blocks on a modal box.
class CScriptedPlatformServices : public CPlatformServices {
public:
    MessageAnswer showMessage(QWidget* owner, const QString& text, const QString& caption, MessageButtons buttons,
                              MessageIcon icon) override;
    FileChoice chooseFile(QWidget* owner, const FileDialogRequest& request) override;
    void beep() override { ++beeps; }
    bool showHelp(QWidget* owner, const QString& path, const QString& topic) override
    {
        helpRequests.push_back({owner, path, topic});
        return true;
    }
    std::unique_ptr<QPrinter> choosePrinter(QWidget* owner) override;

    // Scripting.
    void answerNextMessage(MessageAnswer answer) { messageAnswers.push_back(answer); }
    void chooseNextFile(const QString& path) { fileChoices.push_back({FileDialogError::None, path}); }
    void cancelNextFileDialog() { fileChoices.push_back({FileDialogError::Cancelled, {}}); }
    void failNextFileDialog(FileDialogError error) { fileChoices.push_back({error, {}}); }
    // The next print dialog chooses a PDF printer writing to `path`; unscripted print
    // dialogs are cancelled.
    void printNextTo(const QString& path) { printerPaths.push_back(path); }
    // Runs while the print dialog would be up, to look at what exists at that moment.
    std::function<void()> whilePrintDialogIsUp;

    // What happened. Unscripted messages get the safe answer (Cancel, No or Ok);
    // unscripted file dialogs are cancelled.
    std::vector<RecordedMessage> messages;
    std::vector<FileDialogRequest> fileRequests;
    int beeps = 0;
    struct HelpRequest {
        QWidget* owner = nullptr;
        QString path;
        QString topic;
    };
    std::vector<HelpRequest> helpRequests;
    std::vector<QWidget*> printDialogOwners;

private:
    std::deque<MessageAnswer> messageAnswers;
    std::deque<FileChoice> fileChoices;
    std::deque<QString> printerPaths;
};
