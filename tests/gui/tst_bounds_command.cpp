#include "core/editor/Editor.h"
#include "core/editor/MainControl.h"

#include "gui/app/CMainWindow.h"
#include "gui/transform/ParameterDialogs.h"

#include "GuiTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// Acts on the bounds dialog once it is up; the dialog is modal, so this runs from
// the event loop it starts.
template <class Act>
void whenTheBoundsDialogIsOpen(Act act)
{
    whenTheModalDialogOpens<QDialog>(act, "boundsDialog");
}

QString statusLine(CMainWindow& window)
{
    return window.control<QLabel>(MainControl::StatusLine)->text();
}

struct Fixture : MainWindowFixture {
    Fixture() { open(); }
};

} // namespace

class BoundsCommandTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithTheCurrentViewAndAcceptsExpressions()
    {
        Fixture f;
        QStringList shown;
        int result = -1;
        whenTheBoundsDialogIsOpen([&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Bornes de Tracé"));
            for (BoundsControl id :
                 {BoundsControl::Xmin, BoundsControl::Xmax, BoundsControl::Ymin, BoundsControl::Ymax})
                shown << fieldText(d, id);
            typeInto(d, BoundsControl::Xmin, QStringLiteral("-pi"));
            typeInto(d, BoundsControl::Xmax, QStringLiteral("2*pi"));
            typeInto(d, BoundsControl::Ymin, QStringLiteral("-1"));
            typeInto(d, BoundsControl::Ymax, QStringLiteral("1e0"));
            QTest::keyClick(fieldOf(d, BoundsControl::Ymax), Qt::Key_Return); // Enter presses "Ok"
            result = d.result();
        });
        QTest::mouseClick(f.window->control(MainControl::Bounds), Qt::LeftButton);

        QCOMPARE(shown, (QStringList{"-36.000", "36.000", "-36.000", "36.000"}));
        QVERIFY(f.services.messages.empty());
        const ViewWindow& w = f.editor.view.current;
        QCOMPARE(w.xmin, -3.141592653589793);
        QCOMPARE(w.xmax, 2 * 3.141592653589793);
        QCOMPARE(w.ymin, -1.0);
        QCOMPARE(w.ymax, 1.0);
        QCOMPARE(f.editor.view.previousWindow, (ViewWindow{-36, -36, 36, 36}));
        QCOMPARE(statusLine(*f.window), QStringLiteral("Nouvelles bornes (-3.14, -1.00), (6.28, 1.00)"));
        QCOMPARE(result, int(QDialog::Accepted));
    }

    void refusesEmptyOrReversedOrUnreadableBounds()
    {
        struct Case {
            const char* xmin;
            const char* xmax;
        } cases[] = {{"5", "5"}, {"6", "5"}, {"1,5", "7"}, {"PI", "7"}, {"0", "1e400"}};
        for (const Case& c : cases) {
            Fixture f;
            whenTheBoundsDialogIsOpen([&](QDialog& d) {
                typeInto(d, BoundsControl::Xmin, QString::fromUtf8(c.xmin));
                typeInto(d, BoundsControl::Xmax, QString::fromUtf8(c.xmax));
                clickControl(d, BoundsControl::Ok);
            });
            QTest::mouseClick(f.window->control(MainControl::Bounds), Qt::LeftButton);
            QCOMPARE(f.services.messages.size(), std::size_t(1));
            QCOMPARE(f.services.messages[0].text, QStringLiteral("Bornes incorrectes !!!"));
            QCOMPARE(f.services.messages[0].caption, QStringLiteral("Erreur"));
            QCOMPARE(f.services.messages[0].icon, MessageIcon::Error);
            QCOMPARE(f.editor.view.current, (ViewWindow{-36, -36, 36, 36}));
            QCOMPARE(f.editor.view.previousWindow, (ViewWindow{-10, -10, 10, 10}));
        }
    }

    void onlyCancelCloses()
    {
        Fixture f;
        bool stillOpenAfterEscape = false;
        int result = -1;
        whenTheBoundsDialogIsOpen([&](QDialog& d) {
            typeInto(d, BoundsControl::Xmin, QStringLiteral("-1"));
            QTest::keyClick(&d, Qt::Key_Escape);
            d.close();
            stillOpenAfterEscape = d.isVisible();
            clickControl(d, BoundsControl::Cancel);
            result = d.result();
        });
        QTest::mouseClick(f.window->control(MainControl::Bounds), Qt::LeftButton);
        QVERIFY(stillOpenAfterEscape);
        QVERIFY(f.services.messages.empty());
        QCOMPARE(f.editor.view.current, (ViewWindow{-36, -36, 36, 36}));
        QCOMPARE(result, int(QDialog::Rejected));
        QVERIFY(f.editor.interactionMode != InteractionMode::BoundsEntry);
    }
};

QTEST_MAIN(BoundsCommandTest)
#include "tst_bounds_command.moc"
