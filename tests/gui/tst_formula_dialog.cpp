#include "core/formula/FormulaEvaluation.h"
#include "core/formula/FormulaPreview.h"

#include "gui/common/CQtSurface.h"
#include "gui/formula/CFormulaDialog.h"
#include "gui/formula/CFormulaPreviewArea.h"

#include "GuiTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

struct Fields {
    QString formula, a, b, increment;
};

const Fields Squares{"x^2", "-1", "1", "0.5"};

void typeFields(CFormulaDialog& dialog, const Fields& f)
{
    typeInto(dialog, FormulaControl::Formula, f.formula);
    typeInto(dialog, FormulaControl::A, f.a);
    typeInto(dialog, FormulaControl::B, f.b);
    typeInto(dialog, FormulaControl::Increment, f.increment);
}

Fields shownFields(CFormulaDialog& dialog)
{
    return {fieldText(dialog, FormulaControl::Formula), fieldText(dialog, FormulaControl::A),
            fieldText(dialog, FormulaControl::B), fieldText(dialog, FormulaControl::Increment)};
}

// Where the preview shows the point (x, y) of x^2 over -1..1 (the picture's pixel, here
// also the widget's position: the screen is at 100 %).
QPoint squaresPixel(CFormulaDialog& dialog, double x, double y)
{
    const QSize size = dialog.previewArea()->image().size();
    const PixelPoint p = PreviewMapping::make(size.width(), size.height(), -1, 1, 0, 1).toPixel(x, y);
    return {p.x, p.y};
}

// Whether two pictures agree on every pixel of `box`.
bool sameInside(const QImage& one, const QImage& other, const QRect& box)
{
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (one.valid(x, y) && one.pixel(x, y) != other.pixel(x, y))
                return false;
    return true;
}

QRect crossBox(QPoint centre)
{
    return {centre - QPoint(PickCrossHalf, PickCrossHalf), QSize(2 * PickCrossHalf + 1, 2 * PickCrossHalf + 1)};
}

struct Fixture {
    CScriptedPlatformServices services;
    FormulaDialogMemory memory;
    std::unique_ptr<CFormulaDialog> dialog;

    CFormulaDialog& open()
    {
        dialog = std::make_unique<CFormulaDialog>(services, memory);
        dialog->show();
        return *dialog;
    }
};

// Acts on the dialog that runFormulaDialog runs, from the event loop it starts.
template <class Act>
void whenTheDialogIsOpen(Act act)
{
    whenTheModalDialogOpens<CFormulaDialog>(act);
}

} // namespace

Q_DECLARE_METATYPE(MessageIcon)

class FormulaDialogTest : public QObject {
    Q_OBJECT

private slots:
    void squaresAreComputedPreviewedAndHandedOverOnValider()
    {
        CScriptedPlatformServices services;
        FormulaDialogMemory memory;
        QString title;
        QString opening;
        QString ymin;
        QString ymax;
        whenTheDialogIsOpen([&](CFormulaDialog& d) {
            opening = d.windowTitle();
            QVERIFY(d.control<QPushButton>(FormulaControl::Compute)->isDefault());
            typeFields(d, Squares);
            clickControl(d, FormulaControl::Compute);
            title = d.windowTitle();
            ymin = labelText(d, FormulaControl::Ymin);
            ymax = labelText(d, FormulaControl::Ymax);
            clickControl(d, FormulaControl::Validate);
        });
        const std::vector<CurvePoint> points = runFormulaDialog(nullptr, services, memory);

        QCOMPARE(opening, QStringLiteral("Définition de courbes"));
        QCOMPARE(title, QStringLiteral("Définition des Courbes : 005 Points"));
        QCOMPARE(ymin, QStringLiteral("0.00000000"));
        QCOMPARE(ymax, QStringLiteral("1.00000000"));
        QVERIFY(services.messages.empty());
        QCOMPARE(points.size(), std::size_t(5));
        const double xs[] = {-1, -0.5, 0, 0.5, 1};
        for (std::size_t i = 0; i < points.size(); ++i) {
            QCOMPARE(points[i].x, xs[i]);
            QCOMPARE(points[i].y, xs[i] * xs[i]);
        }
        QVERIFY(memory.formulaComputed);
    }

    void computationOutcomes_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("increment");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QString>("message");
        QTest::addColumn<MessageIcon>("icon");
        QTest::addColumn<int>("count");

        const QString bounds = QStringLiteral("Bornes Incorrectes\nou trop de points");
        const QString none;
        QTest::newRow("upper case") << "SIN(X)"
                                    << "0"
                                    << "1"
                                    << "0.25" << 0 << none << MessageIcon::None << 5;
        QTest::newRow("1025 points") << "x"
                                     << "0"
                                     << "1023.6"
                                     << "1" << 0 << none << MessageIcon::None << 1025;
        QTest::newRow("too many points") << "x"
                                         << "0"
                                         << "1024"
                                         << "1" << 0 << bounds << MessageIcon::None << 0;
        QTest::newRow("unknown name in a bound") << "x"
                                                 << "0"
                                                 << "2*PI"
                                                 << "1" << 0 << bounds << MessageIcon::None << 0;
        QTest::newRow("empty increment") << "x"
                                         << "0"
                                         << "1"
                                         << "" << 1 << none << MessageIcon::None << 0;
        QTest::newRow("unknown variable")
            << "y+1"
            << "0"
            << "1"
            << "0.5" << 0 << QStringLiteral("Erreur de syntaxe") << MessageIcon::Error << 0;
        QTest::newRow("defined nowhere") << "sqrt(x)"
                                         << "-2"
                                         << "-1"
                                         << "0.5" << 0
                                         << QString::fromUtf8(UndefinedFormulaMessage.data(),
                                                              UndefinedFormulaMessage.size())
                                         << MessageIcon::Error << 0;
    }

    void computationOutcomes()
    {
        QFETCH(QString, formula);
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, increment);
        QFETCH(int, beeps);
        QFETCH(QString, message);
        QFETCH(MessageIcon, icon);
        QFETCH(int, count);

        Fixture f;
        CFormulaDialog& d = f.open();
        typeFields(d, {formula, a, b, increment});
        clickControl(d, FormulaControl::Compute);

        QCOMPARE(f.services.beeps, beeps);
        if (message.isEmpty()) {
            QVERIFY(f.services.messages.empty());
        } else {
            QCOMPARE(f.services.messages.size(), std::size_t(1));
            QCOMPARE(f.services.messages[0].text, message);
            QCOMPARE(f.services.messages[0].caption, QStringLiteral("Erreur"));
            QCOMPARE(f.services.messages[0].icon, icon);
            QCOMPARE(f.services.messages[0].owner, &d);
        }
        QCOMPARE(static_cast<int>(d.points().size()), count);
        if (count == 0)
            QCOMPARE(d.windowTitle(), QStringLiteral("Définition de courbes"));
    }

    void aFailedComputationDropsThePreviousPointsAndPreview()
    {
        Fixture f;
        CFormulaDialog& d = f.open();
        typeFields(d, Squares);
        clickControl(d, FormulaControl::Compute);
        // What painting the background over the computed picture gives.
        QImage background = d.previewArea()->image().copy();
        {
            CQtSurface surface(background);
            paintPreviewBackground(surface);
        }
        QVERIFY(background != d.previewArea()->image());

        typeInto(d, FormulaControl::Formula, QStringLiteral("y+1"));
        clickControl(d, FormulaControl::Compute);
        QVERIFY(d.points().empty());
        QCOMPARE(d.previewArea()->image(), background);
        // A click in an empty preview picks nothing.
        QTest::mouseClick(d.previewArea(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(labelText(d, FormulaControl::PickedX), QString());
        QCOMPARE(d.previewArea()->image(), background);
    }

    void theTextsComeBackOnlyOnceAComputationSucceeded()
    {
        Fixture f;
        {
            CFormulaDialog& d = f.open();
            typeFields(d, {"y+1", "0", "1", "0.5"}); // fails: nothing to put back
            clickControl(d, FormulaControl::Compute);
            clickControl(d, FormulaControl::Cancel);
        }
        {
            CFormulaDialog& d = f.open();
            QCOMPARE(shownFields(d).formula, QString());
            typeFields(d, {"2*x", "0", "3", "1"});
            clickControl(d, FormulaControl::Compute);
            QCOMPARE(d.points().size(), std::size_t(4));
            QTest::keyClick(&d, Qt::Key_Escape);
            QVERIFY(!d.isVisible());
        }
        {
            CFormulaDialog& d = f.open();
            // Escape is "&Annuler": the texts are kept all the same.
            const Fields shown = shownFields(d);
            QCOMPARE(shown.formula, QStringLiteral("2*x"));
            QCOMPARE(shown.a, QStringLiteral("0"));
            QCOMPARE(shown.b, QStringLiteral("3"));
            QCOMPARE(shown.increment, QStringLiteral("1"));
        }
    }

    void annulerHandsOverNothing()
    {
        CScriptedPlatformServices services;
        FormulaDialogMemory memory;
        whenTheDialogIsOpen([&](CFormulaDialog& d) {
            typeFields(d, Squares);
            clickControl(d, FormulaControl::Compute);
            QCOMPARE(d.points().size(), std::size_t(5));
            clickControl(d, FormulaControl::Cancel);
        });
        QVERIFY(runFormulaDialog(nullptr, services, memory).empty());
        QVERIFY(memory.formulaComputed);
    }

    void aClickOnThePreviewShowsTheNearestPoint()
    {
        Fixture f;
        CFormulaDialog& d = f.open();
        typeFields(d, Squares);
        clickControl(d, FormulaControl::Compute);
        QTest::mouseClick(d.previewArea(), Qt::LeftButton, {}, squaresPixel(d, 0.5, 0.25) + QPoint(2, -1));
        QCOMPARE(labelText(d, FormulaControl::PickedX), QStringLiteral("0.50000000"));
        QCOMPARE(labelText(d, FormulaControl::PickedY), QStringLiteral("0.25000000"));
        QTest::mouseClick(d.previewArea(), Qt::LeftButton, {}, QPoint(1, 0)); // (0, 0) would mean the centre
        QCOMPARE(labelText(d, FormulaControl::PickedX), QStringLiteral("-1.00000000"));
        QCOMPARE(labelText(d, FormulaControl::PickedY), QStringLiteral("1.00000000"));
    }

    void theNextPickRestoresThePixelsUnderThePreviousCross()
    {
        Fixture f;
        CFormulaDialog& d = f.open();
        typeFields(d, Squares);
        clickControl(d, FormulaControl::Compute);
        const QImage computed = d.previewArea()->image().copy();
        const QPoint first = squaresPixel(d, -0.5, 0.25);
        const QPoint second = squaresPixel(d, 0.5, 0.25);

        QTest::mouseClick(d.previewArea(), Qt::LeftButton, {}, first);
        const QImage firstPick = d.previewArea()->image().copy();
        QVERIFY(!sameInside(firstPick, computed, crossBox(first)));
        QCOMPARE(firstPick.pixel(first + QPoint(3, 3)), computed.pixel(first + QPoint(3, 3)) ^ 0x00FFFFFFu);

        QTest::mouseClick(d.previewArea(), Qt::LeftButton, {}, second);
        const QImage secondPick = d.previewArea()->image().copy();
        QVERIFY(sameInside(secondPick, computed, crossBox(first)));
        QVERIFY(!sameInside(secondPick, computed, crossBox(second)));

        // Picking the same point again erases the cross and draws it back.
        QTest::mouseClick(d.previewArea(), Qt::LeftButton, {}, second + QPoint(1, 0));
        QCOMPARE(d.previewArea()->image(), secondPick);

        // Painting the dialog again draws the computed picture, without the cross.
        d.hide();
        d.show();
        QCOMPARE(d.previewArea()->image(), computed);
        QTest::mouseClick(d.previewArea(), Qt::LeftButton, {}, first);
        QCOMPARE(d.previewArea()->image(), firstPick);
    }

    void helpReportsTheMissingHelpFile()
    {
        Fixture f;
        CFormulaDialog& d = f.open();
        clickControl(d, FormulaControl::Help);
        QCOMPARE(f.services.messages.size(), std::size_t(1));
        QCOMPARE(f.services.messages[0].text, QStringLiteral("Fichier <lintrel.hlp> non trouvé !!!"));
        QCOMPARE(f.services.messages[0].caption, QStringLiteral("** Erreur **"));
        QCOMPARE(f.services.messages[0].icon, MessageIcon::Error);
        QVERIFY(d.isVisible());
    }
};

QTEST_MAIN(FormulaDialogTest)
#include "tst_formula_dialog.moc"
