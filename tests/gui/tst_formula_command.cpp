#include "core/editor/Editor.h"
#include "core/editor/MainControl.h"

#include "gui/app/CMainWindow.h"
#include "gui/formula/CFormulaDialog.h"

#include "GuiTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// Fills the formula dialog once it is up, computes, and closes it with `closeId`
// (Validate "&Valider", Cancel "&Annuler").
void whenTheFormulaDialogIsOpen(const QString& formula, const QString& a, const QString& b, const QString& inc,
                                FormulaControl closeId)
{
    whenTheModalDialogOpens<QDialog>([=](QDialog& dialog) {
        typeInto(dialog, FormulaControl::Formula, formula);
        typeInto(dialog, FormulaControl::A, a);
        typeInto(dialog, FormulaControl::B, b);
        typeInto(dialog, FormulaControl::Increment, inc);
        clickControl(dialog, FormulaControl::Compute);
        clickControl(dialog, closeId);
    });
}

struct Fixture : MainWindowFixture {
    using MainWindowFixture::MainWindowFixture;
    void formule() { QTest::mouseClick(window->control(MainControl::Formula), Qt::LeftButton); }
    QString countText() const { return window->control<QLabel>(MainControl::PointCount)->text(); }
};

} // namespace

class FormulaCommandTest : public QObject {
    Q_OBJECT

private slots:
    void appendedPointsAreSortedFittedAndUndoable()
    {
        Fixture f({{5, 1}});
        whenTheFormulaDialogIsOpen(QStringLiteral("x^2"), QStringLiteral("-1"), QStringLiteral("1"),
                                   QStringLiteral("0.5"), FormulaControl::Validate);
        f.formule();
        const CurveDocument& doc = f.editor.document;
        QCOMPARE(doc.count(), 6);
        QCOMPARE(doc.points()[0], (CurvePoint{-1, 1}));
        QCOMPARE(doc.points()[2], (CurvePoint{0, 0}));
        QCOMPARE(doc.points()[5], (CurvePoint{5, 1}));
        QCOMPARE(f.countText(), QStringLiteral("   6"));
        QCOMPARE(f.editor.view.current.xmin, -1.0);
        QCOMPARE(f.editor.view.current.xmax, 5.0);
        QCOMPARE(f.editor.formulaMemory.formula, std::string("x^2"));

        QTest::mouseClick(f.window->control(MainControl::Undo), Qt::LeftButton); // "&Undo"
        QCOMPARE(doc.count(), 1);
        QCOMPARE(doc.points()[0], (CurvePoint{5, 1}));
    }

    void cancelledOrFailedAppendsNothing()
    {
        Fixture f({{1, 1}, {2, 2}});
        ViewWindow before = f.editor.view.current;
        whenTheFormulaDialogIsOpen(QStringLiteral("x"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0.5"),
                                   FormulaControl::Cancel);
        f.formule();
        whenTheFormulaDialogIsOpen(QStringLiteral("y+1"), QStringLiteral("0"), QStringLiteral("1"),
                                   QStringLiteral("0.5"), FormulaControl::Validate);
        f.formule();
        QCOMPARE(f.editor.document.count(), 2);
        QCOMPARE(f.editor.view.current, before);
        QCOMPARE(f.services.messages.size(), std::size_t(1));
        QCOMPARE(f.services.messages[0].text, QStringLiteral("Erreur de syntaxe"));
    }
};

QTEST_MAIN(FormulaCommandTest)
#include "tst_formula_command.moc"
