#include "gui/app/CommandLine.h"
#include "gui/app/StartUp.h"
#include "gui/common/ApplicationIcon.h"
#include "gui/common/QtPlatformServices.h"
#include "gui/common/QtTranslation.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    if (const std::optional<int> answered = runCommandLineOption(argc, argv))
        return *answered;
    QApplication app(argc, argv);
    // The icon is decoded and Qt's French texts are read once the event loop runs, the
    // main window already on the screen: the window then takes the icon as every window
    // does, and a message box before it installs the texts itself (CQtPlatformServices).
    QTimer::singleShot(0, &app, [] {
        QApplication::setWindowIcon(applicationIcon());
        installFrenchQtTexts();
    });

    CQtPlatformServices services;
    startEditor(services, startupPathText());
    // The caller learns nothing from the exit code.
    return 0;
}
