#include "PdfText.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtGlobal>

QString pdfText(const QString& pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) {
        qWarning("pdftotext is missing (scripts/install-deps.sh installs poppler-utils)");
        return {};
    }
    QProcess process;
    process.start(tool, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}
