#include "gui/common/CHelpViewer.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

CHelpViewer::CHelpViewer(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("helpViewer"));
    setWindowTitle(QStringLiteral("Aide - Editeur de courbes"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(720, 640);
}

bool CHelpViewer::showTopic(const QString& path, const QString& topic)
{
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        return false;
    // The help file keeps its historic name; it is HTML all the same.
    QUrl url = QUrl::fromLocalFile(file.absoluteFilePath());
    if (!topic.isEmpty())
        url.setFragment(topic);
    browser_->setSource(url, QTextDocument::HtmlResource);
    if (topic.isEmpty())
        browser_->verticalScrollBar()->setValue(0);
    show();
    raise();
    activateWindow();
    return true;
}

QString CHelpViewer::currentTopic() const
{
    return browser_->source().fragment();
}
