#include "gui/app/EditorModule.h"
#include "gui/app/StartUp.h"
#include "gui/common/ApplicationIcon.h"
#include "gui/common/QtPlatformServices.h"
#include "gui/common/QtTranslation.h"

#include <QApplication>
#include <QTimer>

#include <type_traits>

// The entry of the editor's library (EditorModule.h), called by the program's main.
extern "C" Q_DECL_EXPORT int crbeditRunEditor(int argc, char** argv)
{
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
static_assert(std::is_same_v<decltype(&crbeditRunEditor), EditorMain>);
