#include "core/editor/Editor.h"
#include "core/editor/MainControl.h"

#include "gui/app/CDrawingArea.h"
#include "gui/app/CMainWindow.h"
#include "gui/transform/ParameterDialogs.h"

#include "GuiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QtTest>

#include <deque>
#include <functional>
#include <memory>

namespace {

using Step = std::function<void()>;

// Runs `act` on the modal dialog as soon as one is up, looking again every millisecond
// for a while: a dialog opens inside the event loop of the gesture that asked for it.
// The looking ends with `owner`, so that nothing of a test reaches into the next.
void whenADialogOpens(QObject* owner, std::function<void(QDialog&)> act, int triesLeft = 2000)
{
    QTimer::singleShot(1, owner, [owner, act, triesLeft] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->objectName() != QStringLiteral("mainWindow") && dialog->isVisible()) {
            act(*dialog);
            return;
        }
        QVERIFY2(triesLeft > 0, "a dialog opens");
        whenADialogOpens(owner, act, triesLeft - 1);
    });
}

// A shown main window over a curve, driven with real mouse and key events.
struct Session : MainWindowFixture {
    std::deque<Step> steps;

    explicit Session(std::initializer_list<CurvePoint> points) : MainWindowFixture(points, WindowDisplay::Shown) { }
    CDrawingArea* area() const { return window->drawingArea(); }
    // Where a world point lies on the drawing area widget (it must be in view).
    QPoint at(CurvePoint p) const
    {
        const PixelPoint pixel = editor.mapping.worldToPixel(p.x, p.y);
        return area()->widgetPosition(pixel).toPoint();
    }
    Step clickAt(CurvePoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        return [this, p, button] { QTest::mouseClick(area(), button, {}, at(p)); };
    }
    Step moveTo(CurvePoint p)
    {
        // Sent as the window system would, but straight to the widget: QTest::mouseMove
        // drops a move to where an earlier test left the cursor.
        return [this, p] {
            const QPointF local = at(p);
            QMouseEvent move(QEvent::MouseMove, local, area()->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(area(), &move);
        };
    }
    Step key(Qt::Key k)
    {
        return [this, k] { QTest::keyClick(area(), k); };
    }
    // Acts on the modal dialog that the gesture before opened, once it is up.
    Step inDialog(std::function<void(QDialog&)> act)
    {
        return [this, act] { whenADialogOpens(window.get(), act); };
    }
    // A gesture that opens a dialog before it returns, and what the user then does in it.
    Step opensDialog(Step gesture, std::function<void(QDialog&)> act)
    {
        return [this, gesture, act] {
            whenADialogOpens(window.get(), act);
            gesture();
        };
    }
    Step press(MainControl id)
    {
        return [this, id] { clickControl(*window, id); };
    }
    // Clicks the command button, the steps then running one by one inside its picks.
    void run(MainControl id, std::deque<Step> script)
    {
        steps = std::move(script);
        scheduleNext();
        QTest::mouseClick(window->control(id), Qt::LeftButton);
        QTRY_VERIFY(steps.empty());
    }
    void scheduleNext()
    {
        QTimer::singleShot(0, window.get(), [this] {
            if (steps.empty())
                return;
            Step step = std::move(steps.front());
            steps.pop_front();
            step();
            scheduleNext();
        });
    }
    QString status() const { return window->control<QLabel>(MainControl::StatusLine)->text(); }
    CurvePoint point(int i) const { return editor.document.points()[i]; }
};

// A selection rectangle around the world point p, 3 units each way.
std::deque<Step> selectAround(Session& s, CurvePoint p)
{
    return {s.clickAt({p.x - 3, p.y - 3}), s.moveTo({p.x + 3, p.y + 3}), s.clickAt({p.x + 3, p.y + 3})};
}

bool near(CurvePoint a, CurvePoint b, double tolerance)
{
    return std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance;
}

} // namespace

class MouseEditingTest : public QObject {
    Q_OBJECT

private slots:
    void aTranslationByMouseMovesTheSelectedPoint()
    {
        Session s({{-30, -30}, {0, 0}, {30, 30}});
        std::deque<Step> script = selectAround(s, {0, 0});
        for (Step step : {s.clickAt({0, 0}), s.moveTo({6, 9}), s.clickAt({6, 9})})
            script.push_back(step);
        s.run(MainControl::Translate, script);
        QCOMPARE(s.editor.document.count(), 3);
        // The vector runs between two mouse positions, each a whole pixel.
        QVERIFY(near(s.point(1), {6, 9}, 0.2));
        QCOMPARE(s.point(0), (CurvePoint{-30, -30}));
        QCOMPARE(s.editor.interactionMode, InteractionMode::Translate);
        QCOMPARE(s.area()->cursor().shape(), Qt::ArrowCursor);

        // The points moved, their number did not: stopping asks all the same.
        s.services.answerNextMessage(MessageAnswer::No);
        QTest::mouseClick(s.window->control(MainControl::Stop), Qt::LeftButton);
        QCOMPARE(s.services.messages.size(), std::size_t(1));
        QCOMPARE(s.services.messages[0].caption, QStringLiteral("Sortie"));
    }

    void aTranslationTypedInVecteurTranslation()
    {
        Session s({{-30, -30}, {0, 0}, {30, 30}});
        QString title;
        std::deque<Step> script = selectAround(s, {0, 0});
        script.push_back(s.opensDialog(s.clickAt({1, 1}, Qt::RightButton), [&title](QDialog& d) {
            title = d.windowTitle();
            typeInto(d, PointControl::X, QStringLiteral(""));
            typeInto(d, PointControl::Y, QStringLiteral("3"));
            clickControl(d, PointControl::Ok);
        }));
        s.run(MainControl::Translate, script);
        QCOMPARE(title, QStringLiteral("Vecteur translation"));
        QCOMPARE(s.point(1), (CurvePoint{0, 3})); // an empty X is 0
    }

    void aRotationByAQuarterTurnTyped()
    {
        Session s({{-30, -30}, {10, 5}, {30, 30}});
        QString title;
        std::deque<Step> script = selectAround(s, {10, 5});
        script.push_back(s.opensDialog(s.clickAt({1, 1}, Qt::RightButton), [&title](QDialog& d) {
            title = d.windowTitle();
            typeInto(d, PointAndAngleControl::Angle, QStringLiteral("pi/2"));
            clickControl(d, PointAndAngleControl::Ok);
        }));
        s.run(MainControl::Rotate, script);
        QCOMPARE(title, QStringLiteral("Vecteur de Rotation"));
        QVERIFY(near(s.point(1), {-5, 10}, 1e-9));
    }

    void aHomothetyByClickAndFactor()
    {
        Session s({{-30, -30}, {10, 5}, {30, 30}});
        std::deque<Step> script = selectAround(s, {10, 5});
        script.push_back(s.opensDialog(s.clickAt({0, 0}), [](QDialog& d) {
            typeInto(d, FactorControl::Factor, QStringLiteral("2"));
            clickControl(d, FactorControl::Ok);
        }));
        s.run(MainControl::Homothety, script);
        // The centre is the clicked pixel, within half a pixel of the origin.
        QVERIFY(near(s.point(1), {20, 10}, 0.5));
        QCOMPARE(s.editor.document.count(), 3);
    }

    void anAffinityRefusedThenAccepted()
    {
        Session s({{-30, -30}, {10, 5}, {30, 30}});
        bool stillOpen = false;
        std::deque<Step> script = selectAround(s, {10, 5});
        script.push_back(s.inDialog([&stillOpen](QDialog& d) {
            typeInto(d, AffinityControl::Factor, QStringLiteral("0"));
            clickControl(d, AffinityControl::Ok);
            stillOpen = d.isVisible();
            clickControl(d, AffinityControl::X);
            typeInto(d, AffinityControl::Factor, QStringLiteral("2"));
            clickControl(d, AffinityControl::Ok);
        }));
        s.run(MainControl::Affinity, script);
        QVERIFY(stillOpen);
        QCOMPARE(s.services.messages.size(), std::size_t(1));
        QCOMPARE(s.services.messages[0].text, QStringLiteral("Erreur : facteur nul"));
        QCOMPARE(s.services.messages[0].caption, QStringLiteral("Warning"));
        QVERIFY(near(s.point(1), {20, 5}, 1e-12));
    }

    void aDialogClosingRepaintsThePlotAndWipesWhatACommandLeft()
    {
        // A cancelled "Affinité" leaves the circles of its selection; a translation
        // ended by a key other than Escape leaves its preview. The dialog closing
        // repaints both away.
        for (const bool affinity : {true, false}) {
            Session s({{-30, -30}, {10, 5}, {30, 30}});
            std::deque<Step> script = selectAround(s, {10, 5});
            if (affinity) {
                script.push_back(s.inDialog([](QDialog& d) { clickControl(d, AffinityControl::Cancel); }));
            } else {
                script.push_back(s.clickAt({0, 0}));
                script.push_back(s.moveTo({6, 9}));
                script.push_back(s.key(Qt::Key_A));
            }
            s.run(affinity ? MainControl::Affinity : MainControl::Translate, script);
            if (!affinity) {
                QVERIFY(!s.editor.plotRepainted);
                QDialog other(s.window.get());
                other.show();
                QVERIFY(QTest::qWaitForWindowExposed(&other));
                other.hide();
            }
            QTRY_VERIFY(s.editor.plotRepainted);
            const QImage repainted = s.area()->image().copy();
            QTest::mouseClick(s.window->control(MainControl::Redraw), Qt::LeftButton); // "&Redess"
            QVERIFY2(s.area()->image() == repainted, "the repaint is a full redraw");
        }
    }

    void aRepaintDuringARectanglePickIsMadeGoodByThePick()
    {
        Session s({{-30, -30}, {0, 0}, {30, 30}});
        const QImage before = s.area()->image().copy();
        QImage repainted;
        const auto coverAndUncover = [&] {
            QDialog other(s.window.get());
            other.show();
            QVERIFY(QTest::qWaitForWindowExposed(&other));
            other.hide();
            QTRY_VERIFY(s.editor.plotRepainted);
            repainted = s.area()->image().copy();
        };
        s.run(MainControl::ZoomWindow,
              {s.clickAt({-3, -3}), s.moveTo({3, 3}), coverAndUncover, s.moveTo({4, 4}), s.key(Qt::Key_Escape)});
        QVERIFY2(repainted == before, "the repaint wiped the band");
        QVERIFY(!s.editor.plotRepainted);
        QVERIFY2(s.area()->image() == before, "the band drawn again, then erased: none is left");
    }

    void pointEntryRightButtonTypesAPoint()
    {
        Session s({{-30, -30}, {30, 30}});
        QTest::mouseClick(s.window->control(MainControl::PointEntry), Qt::LeftButton);
        whenADialogOpens(s.window.get(), [](QDialog& d) {
            typeInto(d, PointControl::X, QStringLiteral("4.5"));
            typeInto(d, PointControl::Y, QStringLiteral("-2"));
            clickControl(d, PointControl::Ok);
        });
        QTest::mouseClick(s.area(), Qt::RightButton, {}, s.at({0, 0}));
        QCOMPARE(s.editor.document.count(), 3);
        QCOMPARE(s.point(1), (CurvePoint{4.5, -2}));
        QCOMPARE(s.window->control<QLabel>(MainControl::PointCount)->text(), QStringLiteral("   3"));
    }

    void eraseWindowDeletesThePointsInside()
    {
        Session s({{-30, -30}, {-1, 1}, {1, -1}, {30, 30}});
        s.editor.statusText = "avant";
        s.run(MainControl::EraseWindow, {s.clickAt({-5, -5}), s.moveTo({5, 5}), s.clickAt({5, 5})});
        QCOMPARE(s.editor.document.count(), 2);
        QCOMPARE(s.editor.document.undoCount(), 4);
        QCOMPARE(s.status(), QStringLiteral("avant")); // the command ends with statusText
    }

    void zoomWindowGivesTheSameViewInBothCornerOrders()
    {
        ViewWindow views[2];
        for (int order = 0; order < 2; ++order) {
            Session s({{0, 0}});
            const CurvePoint a{-10, -4}, b{12, 6};
            const CurvePoint first = order == 0 ? a : CurvePoint{b.x, a.y};
            const CurvePoint second = order == 0 ? b : CurvePoint{a.x, b.y};
            s.run(MainControl::ZoomWindow, {s.clickAt(first), s.moveTo(second), s.clickAt(second)});
            views[order] = s.editor.view.current;
            QCOMPARE(s.editor.interactionMode, InteractionMode::ZoomWindow);
        }
        QCOMPARE(views[0], views[1]);
        QVERIFY(std::abs(views[0].xmin + 10) < 0.2 && std::abs(views[0].ymax - 6) < 0.2);
    }

    void escapeAndTheRightButtonCancel()
    {
        for (bool escape : {true, false}) {
            Session s({{-30, -30}, {0, 0}, {30, 30}});
            s.editor.statusText = "avant";
            const QImage before = s.area()->image().copy();
            s.run(MainControl::Translate,
                  {s.clickAt({-3, -3}), s.moveTo({3, 3}),
                   escape ? s.key(Qt::Key_Escape) : s.clickAt({3, 3}, Qt::RightButton)});
            QCOMPARE(s.point(1), (CurvePoint{0, 0}));
            QVERIFY2(s.area()->image() == before, "the rectangle band is erased");
            QCOMPARE(s.status(), QStringLiteral("avant"));
            QVERIFY(s.window->isVisible()); // Escape only ends the pick
        }
    }

    void aClickOnPlusDuringADragEndsThePickAndZooms()
    {
        Session s({{-30, -30}, {0, 0}, {30, 30}});
        const ViewWindow before = s.editor.view.current;
        s.run(MainControl::Translate, {s.clickAt({-3, -3}), s.moveTo({3, 3}), s.press(MainControl::ZoomIn)});
        QCOMPARE(s.editor.view.current,
                 (ViewWindow{before.xmin / 2, before.ymin / 2, before.xmax / 2, before.ymax / 2}));
        QCOMPARE(s.point(1), (CurvePoint{0, 0}));
        // What is on the picture is the plot alone: drawing it again changes nothing.
        const QImage shown = s.area()->image().copy();
        QTest::mouseClick(s.window->control(MainControl::Redraw), Qt::LeftButton);
        QVERIFY(s.area()->image() == shown);
    }

    void closingTheWindowDuringAPickGoesThroughTheStopPath()
    {
        Session s({{-30, -30}, {0, 0}, {30, 30}});
        s.editor.document.appendPoint({5, 5}); // unsaved: the stop path asks
        s.services.answerNextMessage(MessageAnswer::No);
        s.run(MainControl::Translate, {s.clickAt({-3, -3}), s.moveTo({3, 3}), [&s] { s.window->close(); }});
        QCOMPARE(s.services.messages.size(), std::size_t(1));
        QCOMPARE(s.services.messages[0].caption, QStringLiteral("Sortie"));
        QVERIFY(!s.window->isVisible());
        QCOMPARE(s.point(1), (CurvePoint{0, 0}));
    }

    // Either key of "&Undo", run under the pick, would bring back the snapshot the pick's
    // command relies on.
    void aButtonShortcutDuringAPickEndsThePickAndRunsNoCommand_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Alt+U, the mnemonic of its caption") << Qt::Key_U << Qt::KeyboardModifiers(Qt::AltModifier);
        QTest::newRow("Ctrl+Z, its key") << Qt::Key_Z << Qt::KeyboardModifiers(Qt::ControlModifier);
    }
    void aButtonShortcutDuringAPickEndsThePickAndRunsNoCommand()
    {
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        for (MainControl command : {MainControl::EraseWindow, MainControl::ZoomWindow}) {
            Session s({{-30, -30}, {0, 0}, {30, 30}});
            QVERIFY(waitUntilActive(*s.window));   // where the key would reach the button
            s.editor.document.appendPoint({5, 5}); // after the snapshot
            bool stillPicking = false;
            s.run(command,
                  {s.clickAt({-3, -3}), s.moveTo({3, 3}),
                   [&s, key, modifiers] { QTest::keyClick(s.area(), key, modifiers); },
                   [&s, &stillPicking] {
                       QTest::qWait(300); // a mnemonic clicks its button a little later
                       stillPicking = s.area()->cursor().shape() == Qt::CrossCursor;
                   },
                   // Ends a pick the shortcut did not reach; harmless otherwise.
                   s.key(Qt::Key_Space)});
            QVERIFY(!stillPicking);
            QCOMPARE(s.editor.document.count(), 4);
        }
    }

    void aLargerWindowGivesTheDrawingAreaTheRoomAndKeepsTheView()
    {
        Session s({{-30, -30}, {0, 0}, {30, 30}});
        const ViewWindow view = s.editor.view.current;
        const QSize area = s.area()->size();
        const QRect stop = s.window->control(MainControl::Stop)->geometry();
        const QRect periodic = s.window->control(MainControl::Periodic)->geometry();
        s.window->resize(s.window->size() + QSize(200, 120));
        QTRY_COMPARE(s.area()->size(), area + QSize(200, 120));
        QCOMPARE(s.area()->image().size(), s.area()->deviceSize());
        QCOMPARE(s.editor.view.current, view);
        QCOMPARE(s.editor.mapping.width, s.area()->deviceSize().width());
        QCOMPARE(s.window->control(MainControl::Stop)->geometry(), stop.translated(200, 0));
        QCOMPARE(s.window->control(MainControl::Periodic)->geometry(), periodic);

        // A pick under way ends when the picture is made anew.
        s.run(MainControl::Translate,
              {s.clickAt({-3, -3}), s.moveTo({3, 3}), [&s] { s.window->resize(s.window->size() + QSize(40, 0)); }});
        QCOMPARE(s.point(1), (CurvePoint{0, 0}));
        QCOMPARE(s.area()->image().size(), s.area()->deviceSize());

        // Back to the template size, the template's layout.
        s.window->resize(s.window->minimumSize());
        QTRY_COMPARE(s.area()->size(), area);
        QCOMPARE(s.window->control(MainControl::Stop)->geometry(), stop);
    }

    void pointEntryAddsUpToTheLimit()
    {
        Session s({});
        for (int i = 0; i < MaxCurvePoints - 2; ++i)
            s.editor.document.appendPoint({-30 + i * 0.01, 0});
        QTest::mouseClick(s.window->control(MainControl::PointEntry), Qt::LeftButton);
        QTest::mouseClick(s.area(), Qt::LeftButton, {}, s.at({0, 5}));
        QCOMPARE(s.editor.document.count(), MaxCurvePoints - 1);
        QVERIFY(s.status().startsWith(QStringLiteral("Acquisition du point n°1023 en (")));
        QTest::mouseClick(s.area(), Qt::LeftButton, {}, s.at({10, 5}));
        QCOMPARE(s.editor.document.count(), MaxCurvePoints);
        QCOMPARE(s.window->control<QLabel>(MainControl::PointCount)->text(), QStringLiteral(" 1024"));
        QTest::mouseClick(s.area(), Qt::LeftButton, {}, s.at({12, 5}));
        QCOMPARE(s.editor.document.count(), MaxCurvePoints);
        QCOMPARE(s.services.messages.back().text, QStringLiteral("La limite de points a été atteinte !!!"));
        QCOMPARE(s.editor.interactionMode, InteractionMode::ModeFinished);
    }

    void deletionThenTheRightButtonBringsThePointBack()
    {
        Session s({{-30, -30}, {0, 0}, {30, 30}});
        QTest::mouseClick(s.window->control(MainControl::DeletePoint), Qt::LeftButton);
        QTest::mouseClick(s.area(), Qt::LeftButton, {}, s.at({1, 1}));
        QCOMPARE(s.editor.document.count(), 2);
        QCOMPARE(s.status(), QStringLiteral("Suppression du point n°1"));
        QCOMPARE(s.window->control<QLabel>(MainControl::PointCount)->text(), QStringLiteral("   2"));
        QTest::mouseClick(s.area(), Qt::RightButton, {}, s.at({1, 1}));
        QCOMPARE(s.editor.document.count(), 3);
        QCOMPARE(s.window->control<QLabel>(MainControl::PointCount)->text(), QStringLiteral("   3"));
    }
};

QTEST_MAIN(MouseEditingTest)
#include "tst_mouse_editing.moc"
