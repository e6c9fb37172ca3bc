#include "gui/common/QtPlatformServices.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

QWidget* CPlatformServices::focusOwner()
{
    if (QWidget* focus = QApplication::focusWidget())
        return focus->window();
    return QApplication::activeWindow();
}

MessageAnswer CQtPlatformServices::showMessage(QWidget* owner, const QString& text, const QString& caption,
                                               MessageButtons buttons, MessageIcon icon)
{
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

    QMessageBox box(qtIcon, caption.isEmpty() ? QString::fromUtf8(DefaultMessageCaption) : caption, text, qtButtons,
                    owner);
    if (buttons == MessageButtons::YesNo)
        box.setEscapeButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Ok: return MessageAnswer::Ok;
    default: break;
    }
    // The close box of a question counts as its safe answer.
    return buttons == MessageButtons::YesNo ? MessageAnswer::No
           : buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel
                                                 : MessageAnswer::Ok;
}

FileChoice CQtPlatformServices::chooseFile(QWidget* owner, const FileDialogRequest& request)
{
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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
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
