#include "gui/common/ModalDialog.h"

#include <QDialog>

int runModal(QDialog& dialog)
{
    // Application-modal would also block the help window, which then takes no input.
    dialog.setWindowModality(dialog.parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    return dialog.exec();
}

int runFirstWindow(QDialog& window)
{
    // Modal to its owners, of which it has none.
    window.setWindowModality(Qt::WindowModal);
    return window.exec();
}
