#include "ScriptedPlatformServices.h"

#include "gui/common/DialogUnits.h"
#include "gui/transform/ParameterDialogs.h"

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

enum Which { Factor, Point, PointAndAngle, Affinity };
const char* const ObjectNames[] = {"factorDialog", "pointDialog", "pointAndAngleDialog", "affinityDialog"};
const int OkIds[] = {1134, 1134, 1134, 1};
const int CancelIds[] = {1135, 1135, 1135, 2};
const int FirstFields[] = {1129, 1129, 1129, 1012};

struct Fixture {
    CScriptedPlatformServices services;
    QWidget owner; // stands for the drawing area
    EnteredValues entered{11, 12, 13, 14, 0};

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
    QTimer::singleShot(0, [which, act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->objectName(), QString::fromUtf8(ObjectNames[which]));
        act(*dialog);
        if (dialog->isVisible()) {
            dialog->done(QDialog::Rejected);
            QFAIL("the dialog was left open");
        }
    });
}

template <class W = QWidget>
W* control(QDialog& dialog, int id)
{
    return dialog.findChild<W*>(QStringLiteral("ctl%1").arg(id));
}

void type(QDialog& dialog, int id, const QString& text)
{
    auto* edit = control<QLineEdit>(dialog, id);
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void click(QDialog& dialog, int id)
{
    QWidget* w = control(dialog, id);
    QVERIFY(w);
    QTest::mouseClick(w, Qt::LeftButton);
}

// "1129=0.500;1125=abc" as (id, text) pairs.
QList<std::pair<int, QString>> pairs(const QString& table)
{
    QList<std::pair<int, QString>> result;
    for (const QString& entry : table.split(u';', Qt::SkipEmptyParts))
        result.append({entry.section(u'=', 0, 0).toInt(), entry.section(u'=', 1)});
    return result;
}

// Where a dialog of `size` opens by itself over `owner`.
class DefaultPlacement : public QDialog {
public:
    explicit DefaultPlacement(QWidget& owner) : QDialog(&owner) {}
    QRect frameFor(const QSize& size)
    {
        setFixedSize(size);
        adjustPosition(parentWidget());
        return frameGeometry();
    }
};

} // namespace

class ParameterDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void opensAtItsTemplateSizeWithItsControlsTextsAndTitle_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("shownTitle");
        QTest::addColumn<QSize>("size"); // dialog units
        QTest::addColumn<QString>("captions");
        QTest::addColumn<QString>("texts");
        QTest::newRow("Homothétie") << int(Factor) << QString() << "Homothétie" << QSize(102, 58)
                                    << "1134=Ok;1135=Cancel" << "1129=0.500";
        QTest::newRow("Coordonnées du Point") << int(Point) << QString() << "Coordonnées du Point" << QSize(111, 58)
                                              << "1134=Ok;1135=Cancel" << "1129=0.000;1125=0.000";
        QTest::newRow("Vecteur translation") << int(Point) << "Vecteur translation" << "Vecteur translation"
                                             << QSize(111, 58) << "1134=Ok" << "1129=0.000;1125=0.000";
        QTest::newRow("Centre de l'homothétie") << int(Point) << "Centre de l'homothétie"
                                                << "Centre de l'homothétie" << QSize(111, 58) << "" << "";
        QTest::newRow("Rotation") << int(PointAndAngle) << QString() << "Rotation" << QSize(123, 78)
                                  << "1134=Ok;1135=Cancel" << "1129=0.000;1130=0.000;1125=0.000";
        QTest::newRow("Vecteur Miroir") << int(PointAndAngle) << "Vecteur Miroir" << "Vecteur Miroir"
                                        << QSize(123, 78) << "" << "";
        QTest::newRow("Vecteur de Rotation") << int(PointAndAngle) << "Vecteur de Rotation"
                                             << "Vecteur de Rotation" << QSize(123, 78) << "" << "";
        QTest::newRow("Affinité") << int(Affinity) << QString() << "Affinité" << QSize(144, 74)
                                  << "1=OK;2=Cancel;1010=X;1011=Y" << "1012=1.";
    }
    void opensAtItsTemplateSizeWithItsControlsTextsAndTitle()
    {
        QFETCH(int, which);
        QFETCH(QString, title);
        QFETCH(QString, shownTitle);
        QFETCH(QSize, size);
        QFETCH(QString, captions);
        QFETCH(QString, texts);
        Fixture f;
        whenOpen(which, [&](QDialog& d) {
            QCOMPARE(d.windowTitle(), shownTitle);
            const DialogUnits du(d.font());
            QCOMPARE(d.size(), QSize(du.x(size.width()), du.y(size.height())));
            for (const auto& [id, caption] : pairs(captions))
                QCOMPARE(control<QAbstractButton>(d, id)->text(), caption);
            for (const auto& [id, text] : pairs(texts))
                QCOMPARE(control<QLineEdit>(d, id)->text(), text);
            QVERIFY(control<QPushButton>(d, OkIds[which])->isDefault());
            click(d, CancelIds[which]);
        });
        f.open(which, title);
    }

    void okWritesOnlyTheDialogsOwnFields_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<QList<double>>("expected"); // x, y, value, value2
        QTest::newRow("factor") << int(Factor) << "1129=2*3" << true << QList<double>{11, 12, 6, 14};
        QTest::newRow("factor as shown") << int(Factor) << "" << false << QList<double>{11, 12, 0.5, 14};
        QTest::newRow("first 15 characters") << int(Factor) << "1129=123456789012345678" << true
                                             << QList<double>{11, 12, 123456789012345.0, 14};
        QTest::newRow("point") << int(Point) << "1129=3;1125=-4" << false << QList<double>{3, -4, 13, 14};
        QTest::newRow("X empty") << int(Point) << "1129=;1125=1" << true << QList<double>{0, 1, 13, 14};
        QTest::newRow("X rejected") << int(Point) << "1129=abc;1125=1e-3" << true << QList<double>{11, 0.001, 13, 14};
        QTest::newRow("rotation") << int(PointAndAngle) << "1129=1;1130=2;1125=pi/2" << false
                                  << QList<double>{1, 2, 3.141592653589793 / 2, 14};
        QTest::newRow("factor 1/0 is typed, not the old value")
            << int(Factor) << "1129=1/0" << true
            << QList<double>{11, 12, std::numeric_limits<double>::infinity(), 14};
        QTest::newRow("angle rejected") << int(PointAndAngle) << "1129=-1;1130=-2;1125=abc" << true
                                        << QList<double>{-1, -2, 13, 14};
    }
    void okWritesOnlyTheDialogsOwnFields()
    {
        QFETCH(int, which);
        QFETCH(QString, typed);
        QFETCH(bool, byEnter);
        QFETCH(QList<double>, expected);
        Fixture f;
        whenOpen(which, [&](QDialog& d) {
            for (const auto& [id, text] : pairs(typed))
                type(d, id, text);
            if (byEnter)
                QTest::keyClick(control(d, 1129), Qt::Key_Return);
            else
                click(d, 1134);
        });
        QVERIFY(f.open(which));
        QCOMPARE(f.entered.accepted, 1);
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
        f.entered.accepted = 1;
        bool openAfterAction = true;
        whenOpen(which, [&](QDialog& d) {
            type(d, FirstFields[which], QStringLiteral("7"));
            if (action == u"Cancel")
                click(d, CancelIds[which]);
            else if (action == u"Escape")
                QTest::keyClick(control(d, FirstFields[which]), Qt::Key_Escape);
            else
                d.close();
            openAfterAction = d.isVisible();
            if (openAfterAction)
                click(d, CancelIds[which]);
        });
        QVERIFY(!f.open(which));
        QCOMPARE(openAfterAction, !closes);
        QCOMPARE(f.entered.accepted, 0);
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
                type(d, 1012, QString::fromUtf8(factor));
                click(d, 1);
                openAfterRefusal << d.isVisible();
            }
            click(d, 1010);
            type(d, 1012, QStringLiteral("2"));
            QTest::keyClick(control(d, 1012), Qt::Key_Return);
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
        QCOMPARE(f.entered.accepted, 1);
    }

    void theDirectionBoxesActAsOneRadioPair_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<double>("direction");
        QTest::newRow("as opened") << QList<int>{} << 0.0;
        QTest::newRow("X") << QList<int>{1010} << 1.0;
        QTest::newRow("X twice") << QList<int>{1010, 1010} << 1.0;
        QTest::newRow("X then Y") << QList<int>{1010, 1011} << 0.0;
        QTest::newRow("the ticked Y") << QList<int>{1011} << 0.0;
    }
    void theDirectionBoxesActAsOneRadioPair()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(double, direction);
        Fixture f;
        whenOpen(Affinity, [&](QDialog& d) {
            for (int id : clicks)
                click(d, id);
            QCOMPARE(control<QCheckBox>(d, 1010)->isChecked(), direction == 1.0);
            QCOMPARE(control<QCheckBox>(d, 1011)->isChecked(), direction == 0.0);
            click(d, 1);
        });
        QVERIFY(f.open(Affinity));
        QCOMPARE(f.entered.x, direction);
        QCOMPARE(f.entered.y, 1.0);
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
                click(d, CancelIds[which]);
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
