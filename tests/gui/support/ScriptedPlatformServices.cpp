#include "ScriptedPlatformServices.h"

#include <QPrinter>

MessageAnswer CScriptedPlatformServices::showMessage(QWidget* owner, const QString& text, const QString& caption,
                                                     MessageButtons buttons, MessageIcon icon)
{
    messages.push_back(
        {owner, text, caption.isEmpty() ? QString::fromUtf8(DefaultMessageCaption) : caption, buttons, icon});
    if (!messageAnswers.empty()) {
        MessageAnswer answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    return safeAnswer(buttons);
}

FileChoice CScriptedPlatformServices::chooseFile(QWidget* owner, const FileDialogRequest& request)
{
    fileRequests.push_back(request);
    if (fileChoices.empty())
        return {};
    FileChoice choice = fileChoices.front();
    fileChoices.pop_front();
    return choice;
}

std::unique_ptr<QPrinter> CScriptedPlatformServices::choosePrinter(QWidget* owner)
{
    printDialogOwners.push_back(owner);
    if (whilePrintDialogIsUp)
        whilePrintDialogIsUp();
    if (printerPaths.empty())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(printerPaths.front());
    printerPaths.pop_front();
    return printer;
}
