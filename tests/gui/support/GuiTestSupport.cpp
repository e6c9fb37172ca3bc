#include "GuiTestSupport.h"

QString dataFile(const char* name)
{
    return QStringLiteral(CRB_TEST_DATA "/") + QString::fromUtf8(name);
}

std::vector<CurvePoint> pointsOf(const CurveDocument& doc)
{
    return {doc.points.begin(), doc.points.begin() + doc.count};
}

void clickWidget(QWidget* widget)
{
    QVERIFY2(widget, "the control exists");
    QTest::mouseClick(widget, Qt::LeftButton);
}

void typeIntoField(QLineEdit* field, const QString& text)
{
    QVERIFY2(field, "the field exists");
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

MainWindowFixture::MainWindowFixture(std::initializer_list<CurvePoint> points, WindowDisplay display)
{
    for (CurvePoint p : points)
        editor.document.appendPoint(p);
    editor.document.takeSnapshot();
    open(display);
}

void MainWindowFixture::open(WindowDisplay display)
{
    window = std::make_unique<CMainWindow>(editor, services);
    if (display == WindowDisplay::Shown) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
}
