#include "gui/common/QtPlatformServices.h"

#include "gui/common/ModalDialog.h"
#include "gui/common/QtText.h"
#include "gui/common/QtTranslation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

QWidget* CPlatformServices::focusOwner()
{
    if (QWidget* focus = QApplication::focusWidget())
        return focus->window();
    return QApplication::activeWindow();
}

namespace {

// A question with Oui and Non and no Cancel: it stays until one of the two is pressed.
// Escape and the close box would otherwise count as Non and throw work away.
class CQuestionBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        if (clickedButton() == nullptr) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

} // namespace

MessageAnswer CQtPlatformServices::showMessage(QWidget* owner, const QString& text, const QString& caption,
                                               MessageButtons buttons, MessageIcon icon)
{
    // Qt's own texts (its buttons) are French from the first of its dialogs, which may
    // come before the window: the program installs them only once the window is up.
    installFrenchQtTexts();
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::Information: qtIcon = QMessageBox::Information; break;
    case MessageIcon::Warning: qtIcon = QMessageBox::Warning; break;
    case MessageIcon::Error: qtIcon = QMessageBox::Critical; break;
    case MessageIcon::Question: qtIcon = QMessageBox::Question; break;
    case MessageIcon::None: break;
    }
    QMessageBox::StandardButtons qtButtons = QMessageBox::Ok;
    if (buttons == MessageButtons::OkCancel)
        qtButtons = QMessageBox::Ok | QMessageBox::Cancel;
    else if (buttons == MessageButtons::YesNo)
        qtButtons = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == MessageButtons::YesNoCancel)
        qtButtons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;

    const QString title = caption.isEmpty() ? toQString(DefaultMessageCaption) : caption;
    if (buttons != MessageButtons::YesNo) {
        QMessageBox box(qtIcon, title, text, qtButtons, owner);
        return answerOf(runModal(box), buttons);
    }
    CQuestionBox box(qtIcon, title, text, qtButtons, owner);
    // Only Oui or Non ends the question.
    int result = 0;
    do {
        result = runModal(box);
    } while (result != QMessageBox::Yes && result != QMessageBox::No);
    return answerOf(result, buttons);
}

MessageAnswer CQtPlatformServices::answerOf(int result, MessageButtons buttons)
{
    switch (result) {
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Ok: return MessageAnswer::Ok;
    default: break;
    }
    // The close box of a question counts as its safe answer.
    return safeAnswer(buttons);
}

FileChoice CQtPlatformServices::chooseFile(QWidget* owner, const FileDialogRequest& request)
{
    installFrenchQtTexts();
    QFileDialog dialog(owner, request.title);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    if (!request.filters.isEmpty())
        dialog.selectNameFilter(request.filters.front());
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.setOption(QFileDialog::ReadOnly, false);
    // A pattern as initial name only selects the filter; a real name is preselected.
    if (!request.initialName.isEmpty() && !request.initialName.contains(QLatin1Char('*')))
        dialog.selectFile(request.initialName);

    FileChoice choice;
    if (runModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return choice;
    choice.path = dialog.selectedFiles().front();
    choice.error = checkChosenPath(choice.path.toStdString());
    if (choice.error != FileDialogError::None)
        choice.path.clear();
    return choice;
}

void CQtPlatformServices::beep()
{
    QApplication::beep();
}

bool CQtPlatformServices::showHelp(QWidget* owner, const QString& path, const QString& topic)
{
    // One help window for the whole run, owned here rather than by a dialog that may close.
    if (!help_)
        help_ = std::make_unique<CHelpViewer>();
    Q_UNUSED(owner);
    return help_->showTopic(path, topic);
}

std::unique_ptr<QPrinter> CQtPlatformServices::choosePrinter(QWidget* owner)
{
    installFrenchQtTexts();
    // A fresh printer each time, so the dialog always opens on the default printer.
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), owner);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (runModal(dialog) != QDialog::Accepted)
        return nullptr;
    return printer;
}
