#pragma once

#include <QDialog>

class QTextBrowser;

// The help window: the program's HTML help file in a browser of its own, opened at a
// topic. It stays open beside the editor until the user closes it; one window serves
// every request.
class CHelpViewer : public QDialog {
    Q_OBJECT
public:
    explicit CHelpViewer(QWidget* parent = nullptr);

    // Shows `path` at the anchor `topic` (its contents when empty); false when the file
    // cannot be read.
    bool showTopic(const QString& path, const QString& topic);
    QString currentTopic() const;

private:
    QTextBrowser* browser_ = nullptr;
};
