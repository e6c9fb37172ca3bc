#include "gui/common/DialogUnits.h"
#include "gui/transform/ParameterDialogs.h"

#include "GuiTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <limits>
#include <utility>

namespace {

enum Which {
    Factor,
    Point,
    PointAndAngle,
    Affinity
};
const char* const ObjectNames[] = {"factorDialog", "pointDialog", "pointAndAngleDialog", "affinityDialog"};
const ControlIdValue OkIds[] = {FactorControl::Ok, PointControl::Ok, PointAndAngleControl::Ok, AffinityControl::Ok};
const ControlIdValue CancelIds[] = {FactorControl::Cancel, PointControl::Cancel, PointAndAngleControl::Cancel,
                                    AffinityControl::Cancel};
const ControlIdValue FirstFields[] = {FactorControl::Factor, PointControl::X, PointAndAngleControl::Xo,
                                      AffinityControl::Factor};

// A control of one of the dialogs with a text: its caption, the text it shows or the
// text typed into it.
struct ControlText {
    ControlIdValue id = NoControlId;
    QString text;
};
using ControlTexts = QList<ControlText>;

struct Fixture {
    CScriptedPlatformServices services;
    QWidget owner; // stands for the drawing area
    EnteredValues entered{11, 12, 13, 14};

    Fixture()
    {
        owner.setGeometry(100, 80, 500, 400);
        owner.show();
    }
    bool open(int which, const QString& title = {})
    {
        switch (which) {
        case Factor: return askFactor(&owner, entered, title);
        case Point: return askPoint(&owner, entered, title);
        case PointAndAngle: return askPointAndAngle(&owner, entered, title);
        default: return askAffinity(&owner, services, entered);
        }
    }
};

// Acts on the modal dialog from the event loop it starts, then closes it if `act` did
// not, so that a failed check cannot leave the test waiting.
void whenOpen(int which, std::function<void(QDialog&)> act)
{
    whenTheModalDialogOpens<QDialog>(
        [act](QDialog& dialog) {
            act(dialog);
            if (dialog.isVisible()) {
                dialog.done(QDialog::Rejected);
                QFAIL("the dialog was left open");
            }
        },
        ObjectNames[which]);
}

// Where a dialog of `size` opens by itself over `owner`.
class DefaultPlacement : public QDialog {
public:
    explicit DefaultPlacement(QWidget& owner) : QDialog(&owner) { }
    QRect frameFor(const QSize& size)
    {
        setFixedSize(size);
        adjustPosition(parentWidget());
        return frameGeometry();
    }
};

} // namespace

Q_DECLARE_METATYPE(ControlText)
Q_DECLARE_METATYPE(AffinityControl)

class ParameterDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void opensAtItsTemplateSizeWithItsControlsTextsAndTitle_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("shownTitle");
        QTest::addColumn<QSize>("size"); // dialog units
        QTest::addColumn<ControlTexts>("captions");
        QTest::addColumn<ControlTexts>("texts");
        using F = FactorControl;
        using P = PointControl;
        using R = PointAndAngleControl;
        using A = AffinityControl;
        QTest::newRow("Homothétie") << int(Factor) << QString() << "Homothétie" << QSize(102, 58)
                                    << ControlTexts{{F::Ok, "Ok"}, {F::Cancel, "Cancel"}}
                                    << ControlTexts{{F::Factor, "0.500"}};
        QTest::newRow("Coordonnées du Point")
            << int(Point) << QString() << "Coordonnées du Point" << QSize(111, 58)
            << ControlTexts{{P::Ok, "Ok"}, {P::Cancel, "Cancel"}} << ControlTexts{{P::X, "0.000"}, {P::Y, "0.000"}};
        QTest::newRow("Vecteur translation") << int(Point) << "Vecteur translation"
                                             << "Vecteur translation" << QSize(111, 58) << ControlTexts{{P::Ok, "Ok"}}
                                             << ControlTexts{{P::X, "0.000"}, {P::Y, "0.000"}};
        QTest::newRow("Centre de l'homothétie")
            << int(Point) << "Centre de l'homothétie"
            << "Centre de l'homothétie" << QSize(111, 58) << ControlTexts{} << ControlTexts{};
        QTest::newRow("Rotation") << int(PointAndAngle) << QString() << "Rotation" << QSize(123, 78)
                                  << ControlTexts{{R::Ok, "Ok"}, {R::Cancel, "Cancel"}}
                                  << ControlTexts{{R::Xo, "0.000"}, {R::Yo, "0.000"}, {R::Angle, "0.000"}};
        QTest::newRow("Vecteur Miroir") << int(PointAndAngle) << "Vecteur Miroir"
                                        << "Vecteur Miroir" << QSize(123, 78) << ControlTexts{} << ControlTexts{};
        QTest::newRow("Vecteur de Rotation")
            << int(PointAndAngle) << "Vecteur de Rotation"
            << "Vecteur de Rotation" << QSize(123, 78) << ControlTexts{} << ControlTexts{};
        QTest::newRow("Affinité") << int(Affinity) << QString() << "Affinité" << QSize(144, 74)
                                  << ControlTexts{{A::Ok, "OK"}, {A::Cancel, "Cancel"}, {A::X, "X"}, {A::Y, "Y"}}
                                  << ControlTexts{{A::Factor, "1."}};
    }
    void opensAtItsTemplateSizeWithItsControlsTextsAndTitle()
    {
        QFETCH(int, which);
        QFETCH(QString, title);
        QFETCH(QString, shownTitle);
        QFETCH(QSize, size);
        QFETCH(ControlTexts, captions);
        QFETCH(ControlTexts, texts);
        Fixture f;
        whenOpen(which, [&](QDialog& d) {
            QCOMPARE(d.windowTitle(), shownTitle);
            const DialogUnits du(d.font());
            QCOMPARE(d.size(), QSize(du.x(size.width()), du.y(size.height())));
            for (const auto& [id, caption] : captions)
                QCOMPARE(controlOf<QAbstractButton>(d, id)->text(), caption);
            for (const auto& [id, text] : texts)
                QCOMPARE(fieldText(d, id), text);
            QVERIFY(controlOf<QPushButton>(d, OkIds[which])->isDefault());
            clickControl(d, CancelIds[which]);
        });
        f.open(which, title);
    }

    void okWritesOnlyTheDialogsOwnFields_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<ControlTexts>("typed");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<QList<double>>("expected"); // x, y, value, value2
        using F = FactorControl;
        using P = PointControl;
        using R = PointAndAngleControl;
        QTest::newRow("factor") << int(Factor) << ControlTexts{{F::Factor, "2*3"}} << true
                                << QList<double>{11, 12, 6, 14};
        QTest::newRow("factor as shown") << int(Factor) << ControlTexts{} << false << QList<double>{11, 12, 0.5, 14};
        QTest::newRow("first 15 characters") << int(Factor) << ControlTexts{{F::Factor, "123456789012345678"}} << true
                                             << QList<double>{11, 12, 123456789012345.0, 14};
        QTest::newRow("point") << int(Point) << ControlTexts{{P::X, "3"}, {P::Y, "-4"}} << false
                               << QList<double>{3, -4, 13, 14};
        QTest::newRow("X empty") << int(Point) << ControlTexts{{P::X, ""}, {P::Y, "1"}} << true
                                 << QList<double>{0, 1, 13, 14};
        QTest::newRow("X rejected") << int(Point) << ControlTexts{{P::X, "abc"}, {P::Y, "1e-3"}} << true
                                    << QList<double>{11, 0.001, 13, 14};
        QTest::newRow("rotation") << int(PointAndAngle) << ControlTexts{{R::Xo, "1"}, {R::Yo, "2"}, {R::Angle, "pi/2"}}
                                  << false << QList<double>{1, 2, 3.141592653589793 / 2, 14};
        QTest::newRow("factor 1/0 is typed, not the old value")
            << int(Factor) << ControlTexts{{F::Factor, "1/0"}} << true
            << QList<double>{11, 12, std::numeric_limits<double>::infinity(), 14};
        QTest::newRow("angle rejected") << int(PointAndAngle)
                                        << ControlTexts{{R::Xo, "-1"}, {R::Yo, "-2"}, {R::Angle, "abc"}} << true
                                        << QList<double>{-1, -2, 13, 14};
    }
    void okWritesOnlyTheDialogsOwnFields()
    {
        QFETCH(int, which);
        QFETCH(ControlTexts, typed);
        QFETCH(bool, byEnter);
        QFETCH(QList<double>, expected);
        Fixture f;
        whenOpen(which, [&](QDialog& d) {
            for (const auto& [id, text] : typed)
                typeInto(d, id, text);
            if (byEnter)
                QTest::keyClick(controlOf(d, FirstFields[which]), Qt::Key_Return);
            else
                clickControl(d, OkIds[which]);
        });
        QVERIFY(f.open(which));
        QCOMPARE((QList<double>{f.entered.x, f.entered.y, f.entered.value, f.entered.value2}), expected);
    }

    void onlyTheAffinityClosesOnEscapeOrItsCloseBox_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("closes");
        for (int which : {Factor, Point, PointAndAngle, Affinity})
            QTest::addRow("%s, Cancel", ObjectNames[which]) << which << "Cancel" << true;
        QTest::newRow("Homothétie, Escape") << int(Factor) << "Escape" << false;
        QTest::newRow("Coordonnées du Point, Escape") << int(Point) << "Escape" << false;
        QTest::newRow("Coordonnées du Point, close box") << int(Point) << "close box" << false;
        QTest::newRow("Rotation, close box") << int(PointAndAngle) << "close box" << false;
        QTest::newRow("Affinité, Escape") << int(Affinity) << "Escape" << true;
        QTest::newRow("Affinité, close box") << int(Affinity) << "close box" << true;
    }
    void onlyTheAffinityClosesOnEscapeOrItsCloseBox()
    {
        QFETCH(int, which);
        QFETCH(QString, action);
        QFETCH(bool, closes);
        Fixture f;
        bool openAfterAction = true;
        whenOpen(which, [&](QDialog& d) {
            typeInto(d, FirstFields[which], QStringLiteral("7"));
            if (action == u"Cancel")
                clickControl(d, CancelIds[which]);
            else if (action == u"Escape")
                QTest::keyClick(controlOf(d, FirstFields[which]), Qt::Key_Escape);
            else
                d.close();
            openAfterAction = d.isVisible();
            if (openAfterAction)
                clickControl(d, CancelIds[which]);
        });
        QVERIFY(!f.open(which));
        QCOMPARE(openAfterAction, !closes);
        QCOMPARE((QList<double>{f.entered.x, f.entered.y, f.entered.value, f.entered.value2}),
                 (QList<double>{11, 12, 13, 14}));
    }

    void theAffinityRefusesAFactorThatIsNotPositiveAndStaysOpen()
    {
        Fixture f;
        QList<bool> openAfterRefusal;
        whenOpen(Affinity, [&](QDialog& d) {
            // "abc" has no value at all: refused like 0, our choice.
            for (const char* factor : {"0", "-2", "", "abc"}) {
                typeInto(d, AffinityControl::Factor, QString::fromUtf8(factor));
                clickControl(d, AffinityControl::Ok);
                openAfterRefusal << d.isVisible();
            }
            clickControl(d, AffinityControl::X);
            typeInto(d, AffinityControl::Factor, QStringLiteral("2"));
            QTest::keyClick(controlOf(d, AffinityControl::Factor), Qt::Key_Return);
        });
        QVERIFY(f.open(Affinity));
        QCOMPARE(openAfterRefusal, (QList<bool>{true, true, true, true}));
        QCOMPARE(f.services.messages.size(), std::size_t(4));
        for (const RecordedMessage& m : f.services.messages) {
            QCOMPARE(m.text, QStringLiteral("Erreur : facteur nul"));
            QCOMPARE(m.caption, QStringLiteral("Warning"));
            QCOMPARE(m.icon, MessageIcon::Error);
            QVERIFY(!m.owner);
        }
        QCOMPARE((QList<double>{f.entered.x, f.entered.y, f.entered.value, f.entered.value2}),
                 (QList<double>{1, 2, 13, 14}));
    }

    void theDirectionBoxesActAsOneRadioPair_data()
    {
        QTest::addColumn<QList<AffinityControl>>("clicks");
        QTest::addColumn<double>("direction");
        using A = AffinityControl;
        QTest::newRow("as opened") << QList<AffinityControl>{} << 0.0;
        QTest::newRow("X") << QList<AffinityControl>{A::X} << 1.0;
        QTest::newRow("X twice") << QList<AffinityControl>{A::X, A::X} << 1.0;
        QTest::newRow("X then Y") << QList<AffinityControl>{A::X, A::Y} << 0.0;
        QTest::newRow("the ticked Y") << QList<AffinityControl>{A::Y} << 0.0;
    }
    void theDirectionBoxesActAsOneRadioPair()
    {
        QFETCH(QList<AffinityControl>, clicks);
        QFETCH(double, direction);
        Fixture f;
        whenOpen(Affinity, [&](QDialog& d) {
            for (AffinityControl id : clicks)
                clickControl(d, id);
            QCOMPARE(controlOf<QCheckBox>(d, AffinityControl::X)->isChecked(), direction == 1.0);
            QCOMPARE(controlOf<QCheckBox>(d, AffinityControl::Y)->isChecked(), direction == 0.0);
            clickControl(d, AffinityControl::Ok);
        });
        QVERIFY(f.open(Affinity));
        QCOMPARE(f.entered.x, direction);
        QCOMPARE(f.entered.y, 1.0);
    }

    // Keys typed into whatever has the focus once the dialog is active, as a user types
    // them. (Sent to the widget: a key sent through the window system that closes a
    // modal dialog waits half a minute under Wine.)
    void keysGoWhereTheFocusIs_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<bool>("onCancel"); // Enter pressed with the focus on Cancel
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("value"); // the first field's value once accepted
        // The affinity opens with the focus on its "OK".
        for (int which : {Factor, Point, PointAndAngle})
            QTest::addRow("%s: 6 typed at opening replaces the value shown", ObjectNames[which])
                << which << false << true << 6.0;
        for (int which : {Factor, Point, PointAndAngle, Affinity})
            QTest::addRow("%s: Enter on Cancel cancels", ObjectNames[which]) << which << true << false << 0.0;
    }
    void keysGoWhereTheFocusIs()
    {
        QFETCH(int, which);
        QFETCH(bool, onCancel);
        QFETCH(bool, accepted);
        QFETCH(double, value);
        Fixture f;
        whenOpen(which, [&](QDialog& d) {
            QVERIFY(waitUntilActive(d));
            if (onCancel) {
                controlOf(d, CancelIds[which])->setFocus(Qt::TabFocusReason);
            } else {
                QCOMPARE(QApplication::focusWidget(), controlOf(d, FirstFields[which]));
                QTest::keyClick(QApplication::focusWidget(), '6');
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        QCOMPARE(f.open(which), accepted);
        if (!accepted)
            return;
        const double first[] = {f.entered.value, f.entered.x, f.entered.x, f.entered.y};
        QCOMPARE(first[which], value);
    }

    void allButTheAffinityOpenByTheMouse_data()
    {
        QTest::addColumn<int>("which");
        for (int which : {Factor, Point, PointAndAngle, Affinity})
            QTest::newRow(ObjectNames[which]) << which;
    }
    void allButTheAffinityOpenByTheMouse()
    {
        QFETCH(int, which);
        Fixture f;
        const QPoint cursors[] = {{300, 250}, {420, 310}};
        QList<QRect> frames;
        for (const QPoint& cursor : cursors) {
            QCursor::setPos(cursor);
            whenOpen(which, [&](QDialog& d) {
                frames << QRect(d.pos(), d.size());
                clickControl(d, CancelIds[which]);
            });
            f.open(which);
        }
        QCOMPARE(frames.size(), 2);
        QCOMPARE(frames[1].size(), frames[0].size());
        if (which == Affinity) {
            QCOMPARE(frames[1].topLeft(), frames[0].topLeft());
            return;
        }
        // The offset comes from the right and bottom edges of the frame as created.
        const QRect created = DefaultPlacement(f.owner).frameFor(frames[0].size());
        const QPoint offset((created.x() + created.width()) / 3, (created.y() + created.height()) / 3);
        QCOMPARE(frames[0].topLeft(), cursors[0] - offset);
        QCOMPARE(frames[1].topLeft(), cursors[1] - offset);
    }
};

QTEST_MAIN(ParameterDialogsTest)
#include "tst_parameter_dialogs.moc"
