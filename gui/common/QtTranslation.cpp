#include "gui/common/QtTranslation.h"

#include <QCoreApplication>
#include <QString>
#include <QTranslator>

bool installFrenchQtTexts()
{
    // Installed once, for the application's whole life.
    static QTranslator translator;
    static const bool loaded = translator.load(QStringLiteral(":/crbedit/translations/qtbase_fr.qm"))
        && QCoreApplication::installTranslator(&translator);
    return loaded;
}
