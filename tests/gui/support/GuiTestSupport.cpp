#include "GuiTestSupport.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

QString dataFile(const char* name)
{
    return QStringLiteral(CRB_TEST_DATA "/") + QString::fromUtf8(name);
}

std::vector<CurvePoint> pointsOf(const CurveDocument& doc)
{
    return {doc.points().begin(), doc.points().end()};
}

QPoint clickPoint(QWidget* widget)
{
    // A check box or radio button takes clicks on its box and its text only, which the
    // style places (and Windows' style narrows to the text's width): aim at the box.
    QStyle::SubElement box = QStyle::SE_CheckBoxIndicator;
    if (qobject_cast<QRadioButton*>(widget))
        box = QStyle::SE_RadioButtonIndicator;
    else if (!qobject_cast<QCheckBox*>(widget))
        return widget->rect().center();
    QStyleOptionButton option;
    option.initFrom(widget);
    option.text = static_cast<QAbstractButton*>(widget)->text();
    return widget->style()->subElementRect(box, &option, widget).center();
}

void clickWidget(QWidget* widget)
{
    QVERIFY2(widget, "the control exists");
    QTest::mouseClick(widget, Qt::LeftButton, {}, clickPoint(widget));
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

bool waitUntilActive(QWidget& window)
{
    return QTest::qWaitFor([&window] { return window.isActiveWindow(); }, 5000);
}
