#include "ScriptedPlatformServices.h"

#include "gui/app/CMainWindow.h"
#include "core/editor/Editor.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Acts on the bounds dialog once it is up; the dialog is modal, so this runs from
// the event loop it starts.
void whenTheBoundsDialogIsOpen(std::function<void(QDialog&)> act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->objectName(), QStringLiteral("boundsDialog"));
        act(*dialog);
    });
}

QLineEdit* field(QDialog& dialog, int id)
{
    return dialog.findChild<QLineEdit*>(QStringLiteral("ctl%1").arg(id));
}

void type(QDialog& dialog, int id, const QString& text)
{
    QLineEdit* edit = field(dialog, id);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QString statusLine(CMainWindow& window)
{
    return window.control<QLabel>(150)->text();
}

struct Fixture {
    CScriptedPlatformServices services;
    Editor editor;
    CMainWindow window{editor, services};
};

} // namespace

class BoundsCommandTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithTheCurrentViewAndAcceptsExpressions()
    {
        Fixture f;
        QStringList shown;
        whenTheBoundsDialogIsOpen([&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Bornes de Tracé"));
            for (int id : {1129, 1130, 1125, 1131})
                shown << field(d, id)->text();
            type(d, 1129, QStringLiteral("-pi"));
            type(d, 1130, QStringLiteral("2*pi"));
            type(d, 1125, QStringLiteral("-1"));
            type(d, 1131, QStringLiteral("1e0"));
            QTest::keyClick(field(d, 1131), Qt::Key_Return); // Enter presses "Ok"
        });
        QTest::mouseClick(f.window.control(16), Qt::LeftButton);

        QCOMPARE(shown, (QStringList{"-36.000", "36.000", "-36.000", "36.000"}));
        QVERIFY(f.services.messages.empty());
        const ViewWindow& w = f.editor.view.current;
        QCOMPARE(w.xmin, -3.141592653589793);
        QCOMPARE(w.xmax, 2 * 3.141592653589793);
        QCOMPARE(w.ymin, -1.0);
        QCOMPARE(w.ymax, 1.0);
        QCOMPARE(f.editor.view.previousWindow, (ViewWindow{-36, -36, 36, 36}));
        QCOMPARE(statusLine(f.window), QStringLiteral("Nouvelles bornes (-3.14, -1.00), (6.28, 1.00)"));
        QCOMPARE(f.editor.entered.accepted, 1);
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
                type(d, 1129, QString::fromUtf8(c.xmin));
                type(d, 1130, QString::fromUtf8(c.xmax));
                QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("ctl1134")), Qt::LeftButton);
            });
            QTest::mouseClick(f.window.control(16), Qt::LeftButton);
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
        whenTheBoundsDialogIsOpen([&](QDialog& d) {
            type(d, 1129, QStringLiteral("-1"));
            QTest::keyClick(&d, Qt::Key_Escape);
            d.close();
            stillOpenAfterEscape = d.isVisible();
            QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("ctl1135")), Qt::LeftButton);
        });
        QTest::mouseClick(f.window.control(16), Qt::LeftButton);
        QVERIFY(stillOpenAfterEscape);
        QVERIFY(f.services.messages.empty());
        QCOMPARE(f.editor.view.current, (ViewWindow{-36, -36, 36, 36}));
        QCOMPARE(f.editor.entered.accepted, 0);
        QVERIFY(f.editor.interactionMode != InteractionMode::BoundsEntry);
    }
};

QTEST_MAIN(BoundsCommandTest)
#include "tst_bounds_command.moc"
