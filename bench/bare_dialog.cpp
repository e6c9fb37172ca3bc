// The floor of a Qt Widgets start-up, for bench/startup.sh: a dialog with one label,
// built with the editor's Qt, shown, and nothing else.
#include <QApplication>
#include <QDialog>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Dialogue nu"));
    QLabel label(QStringLiteral("Editeur de courbes"), &dialog);
    dialog.show();
    return app.exec();
}
