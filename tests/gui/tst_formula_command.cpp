#include "ScriptedPlatformServices.h"

#include "gui/app/CMainWindow.h"
#include "core/editor/Editor.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

// Fills the formula dialog once it is up, computes, and closes it with `closeId`
// (1 "&Valider", 2 "&Annuler").
void whenTheFormulaDialogIsOpen(const QString& formula, const QString& a, const QString& b, const QString& inc,
                                int closeId)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto set = [dialog](int id, const QString& text) {
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("ctl%1").arg(id));
            QVERIFY(edit);
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, text);
        };
        set(140, formula);
        set(141, a);
        set(142, b);
        set(143, inc);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ctl170")), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ctl%1").arg(closeId)), Qt::LeftButton);
    });
}

struct Fixture {
    CScriptedPlatformServices services;
    Editor editor;
    std::unique_ptr<CMainWindow> window;
    explicit Fixture(std::initializer_list<CurvePoint> points)
    {
        for (CurvePoint p : points)
            editor.document.appendPoint(p);
        editor.document.takeSnapshot();
        window = std::make_unique<CMainWindow>(editor, services);
    }
    void formule() { QTest::mouseClick(window->control(21), Qt::LeftButton); }
    QString countText() const { return window->control<QLabel>(160)->text(); }
};

} // namespace

class FormulaCommandTest : public QObject {
    Q_OBJECT

private slots:
    void appendedPointsAreSortedFittedAndUndoable()
    {
        Fixture f({{5, 1}});
        whenTheFormulaDialogIsOpen(QStringLiteral("x^2"), QStringLiteral("-1"), QStringLiteral("1"),
                                   QStringLiteral("0.5"), 1);
        f.formule();
        const CurveDocument& doc = f.editor.document;
        QCOMPARE(doc.count, 6);
        QCOMPARE(doc.points[0], (CurvePoint{-1, 1}));
        QCOMPARE(doc.points[2], (CurvePoint{0, 0}));
        QCOMPARE(doc.points[5], (CurvePoint{5, 1}));
        QCOMPARE(f.countText(), QStringLiteral("   6"));
        QCOMPARE(f.editor.view.current.xmin, -1.0);
        QCOMPARE(f.editor.view.current.xmax, 5.0);
        QCOMPARE(f.editor.formulaMemory.formula, std::string("x^2"));

        QTest::mouseClick(f.window->control(31), Qt::LeftButton); // "&Undo"
        QCOMPARE(doc.count, 1);
        QCOMPARE(doc.points[0], (CurvePoint{5, 1}));
    }

    void cancelledOrFailedAppendsNothing()
    {
        Fixture f({{1, 1}, {2, 2}});
        ViewWindow before = f.editor.view.current;
        whenTheFormulaDialogIsOpen(QStringLiteral("x"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0.5"), 2);
        f.formule();
        whenTheFormulaDialogIsOpen(QStringLiteral("y+1"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0.5"), 1);
        f.formule();
        QCOMPARE(f.editor.document.count, 2);
        QCOMPARE(f.editor.view.current, before);
        QCOMPARE(f.services.messages.size(), std::size_t(1));
        QCOMPARE(f.services.messages[0].text, QStringLiteral("Erreur de syntaxe"));
    }
};

QTEST_MAIN(FormulaCommandTest)
#include "tst_formula_command.moc"
