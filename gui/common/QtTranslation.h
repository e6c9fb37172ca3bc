#pragma once

// Puts Qt's own texts (the standard buttons "&Oui", "&Non", "Annuler", the file and print
// dialogs) in French whatever the user's locale, from the translation built into the
// program. False when it cannot be loaded; the texts then stay in English.
bool installFrenchQtTexts();
