#include "gui/app/CommandLine.h"
#include "gui/app/StartUp.h"
#include "gui/common/ApplicationIcon.h"
#include "gui/common/QtPlatformServices.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[])
{
    if (const std::optional<int> answered = runCommandLineOption(argc, argv))
        return *answered;
    QApplication app(argc, argv);
    QApplication::setWindowIcon(applicationIcon());
    // The standard buttons (Oui, Non, Annuler) speak French whatever the user's locale.
    QTranslator translator;
    if (translator.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);

    CQtPlatformServices services;
    startEditor(services, commandLineText(QApplication::arguments().mid(1)));
    // The caller learns nothing from the exit code.
    return 0;
}
