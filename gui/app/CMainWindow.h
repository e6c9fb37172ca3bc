#pragma once

#include <QDialog>
#include <QString>

#include <map>

class CPlatformServices;
class QComboBox;
class QLabel;
struct Editor;

// The main window: every command of the editor around the drawing area. It runs as
// one modal dialog for the whole editing run and always ends with result 1.
class CMainWindow : public QDialog {
    Q_OBJECT
public:
    CMainWindow(Editor& editor, CPlatformServices& services, QWidget* parent = nullptr);

    // The control with the given id, as the window's template numbers them.
    QWidget* control(int id) const;
    // Runs one command as if its control had been clicked (state of check boxes and
    // radio buttons as they stand).
    void runCommand(int id);

    const QString& statusText() const { return statusText_; }
    int displayFlags() const { return displayFlags_; }
    // The unit shown in "Unités", at most 15 characters.
    QString unitText() const;

public slots:
    void reject() override; // Escape and the close box: the stop path

private:
    void buildControls();
    void openWindow();
    void stopPath();

    void openFileCommand();
    void saveCommand();
    void resetCommand();
    void displayFlagCommand(int id);

    void showCount();
    void setStatus(const QString& text);
    void selectUnit();
    void showCurveSettings();
    void redraw();

    Editor& editor_;
    CPlatformServices& services_;
    std::map<int, QWidget*> controls_;
    QComboBox* units_ = nullptr;
    QString statusText_;
    int displayFlags_ = 0;
    bool stopping_ = false;
};
