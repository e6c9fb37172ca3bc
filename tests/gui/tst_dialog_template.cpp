#include "gui/common/DialogTemplate.h"
#include "gui/common/DialogUnits.h"

#include "GuiTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QWindow>
#include <QtTest>

#include <tuple>
#include <vector>

namespace {

using Kind = ControlKind;

// The controls of the template below, as a window numbers its own.
enum class Ctl : int {
    Group = 10,
    LeftLabel = 11,
    RightLabel = 12,
    CentredLabel = 13,
    Field = 20,
    OtherField = 21,
    Compute = 30,
    Stop = 31,
    Periodic = 32,
    Akima = 33,
    List = 34,
    Custom = 40,
    Frame = 41,
    Line = 42,
    Absent = 99, // in no template
};

constexpr ControlSpec Controls[] = {
    {Ctl::Group, Kind::Group, "Cadre", 2, 2, 116, 60},
    {Ctl::LeftLabel, Kind::Label, "Gauche", 4, 10, 40, 10},
    {Ctl::RightLabel, Kind::Label, "Droite", 4, 20, 40, 10, ControlFlag::RightAligned},
    {Ctl::CentredLabel, Kind::Label, "", 4, 30, 40, 10, ControlFlag::Centred | ControlFlag::SunkenPanel},
    {NoControlId, Kind::Label, "Sans numéro", 50, 10, 40, 10},
    {Ctl::Field, Kind::Edit, "", 50, 20, 60, 12},
    {Ctl::OtherField, Kind::Edit, "", 50, 34, 60, 12},
    {Ctl::Compute, Kind::Button, "&Calcul", 4, 70, 40, 14, ControlFlag::Default},
    {Ctl::Stop, Kind::Button, "&Arrêt", 50, 70, 40, 14, 0, "Arrêter", "Ctrl+Z"},
    {Ctl::Periodic, Kind::Check, "Périodicité", 4, 86, 60, 10, 0, "Courbe périodique"},
    {Ctl::Akima, Kind::Radio, "Akima", 66, 86, 50, 10},
    {Ctl::List, Kind::Combo, "", 4, 98, 60, 14},
    {Ctl::Custom, Kind::Custom, "", 66, 98, 50, 14},
    {Ctl::Frame, Kind::Frame, "", 4, 114, 112, 20},
    {Ctl::Line, Kind::EtchedLine, "", 60, 114, 2, 15},
};

constexpr DialogTemplate Layout{120, 140, Controls};

struct Built {
    QDialog dialog;
    DialogControls controls;
    std::vector<int> commands;

    Built()
    {
        controls = buildDialog(
            dialog, Layout, [this](int id) { commands.push_back(id); },
            [](QWidget& parent, const ControlSpec&) { return new QSlider(&parent); });
    }
};

// Shows the dialog and waits until it is the active window, as a user finds it.
bool showActive(QWidget& window)
{
    window.show();
    return waitUntilActive(window);
}

Qt::Alignment horizontal(QLabel* label)
{
    return label->alignment() & Qt::AlignHorizontal_Mask;
}

} // namespace

Q_DECLARE_METATYPE(Ctl)

class DialogTemplateTest : public QObject {
    Q_OBJECT
private slots:
    void eachControlIsItsKindsWidgetNamedAndPlacedInDialogUnits_data()
    {
        QTest::addColumn<Ctl>("id");
        QTest::addColumn<QByteArray>("className");
        QTest::addColumn<QString>("caption");
        const std::vector<std::tuple<const char*, Ctl, const char*, QString>> rows = {
            {"group box", Ctl::Group, "QGroupBox", "Cadre"},
            {"label", Ctl::LeftLabel, "QLabel", "Gauche"},
            {"edit field", Ctl::Field, "QLineEdit", ""},
            {"push button", Ctl::Compute, "QPushButton", "&Calcul"},
            {"check box", Ctl::Periodic, "QCheckBox", "Périodicité"},
            {"radio button", Ctl::Akima, "QRadioButton", "Akima"},
            {"combo box", Ctl::List, "QComboBox", ""},
            {"custom control", Ctl::Custom, "QSlider", ""},
            {"frame", Ctl::Frame, "QFrame", ""},
            {"etched line", Ctl::Line, "QFrame", ""},
        };
        for (const auto& [row, id, className, caption] : rows)
            QTest::newRow(row) << id << QByteArray(className) << caption;
    }

    void eachControlIsItsKindsWidgetNamedAndPlacedInDialogUnits()
    {
        QFETCH(Ctl, id);
        QFETCH(QByteArray, className);
        QFETCH(QString, caption);
        Built b;
        QWidget* w = b.controls.control(id);
        QVERIFY(w);
        QCOMPARE(QByteArray(w->metaObject()->className()), className);
        QCOMPARE(w->parentWidget(), &b.dialog);
        QCOMPARE(w->objectName(), QStringLiteral("ctl%1").arg(int(id)));
        const DialogUnits du(b.dialog.font());
        for (const ControlSpec& spec : Controls)
            if (spec.id == id)
                QCOMPARE(w->geometry(), du.rect(spec.x, spec.y, spec.w, spec.h));
        if (auto* label = qobject_cast<QLabel*>(w))
            QCOMPARE(label->text(), caption);
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            QCOMPARE(button->text(), caption);
        if (auto* group = qobject_cast<QGroupBox*>(w))
            QCOMPARE(group->title(), caption);
    }

    void theDialogTakesTheTemplatesFixedSizeAndEveryControlInTableOrder()
    {
        Built b;
        const DialogUnits du(b.dialog.font());
        const QSize size(du.x(120), du.y(140));
        QCOMPARE(b.dialog.minimumSize(), size);
        QCOMPARE(b.dialog.maximumSize(), size);
        // Table order is the stacking order: the group box lies under what it frames.
        const QList<QWidget*> made = b.dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(made.size(), qsizetype(std::size(Controls)));
        QCOMPARE(made.front(), b.controls.control(Ctl::Group));
        QCOMPARE(made.back(), b.controls.control(Ctl::Line));
    }

    void theLookupGivesOnlyAControlOfTheAskedType()
    {
        Built b;
        QVERIFY(b.controls.control<QLineEdit>(Ctl::Field));
        QVERIFY(!b.controls.control<QLabel>(Ctl::Field));
        QVERIFY(b.controls.control<QAbstractButton>(Ctl::Periodic)); // a check box is a button
        QVERIFY(!b.controls.control(Ctl::Absent));
        QVERIFY(!b.controls.control(NoControlId));
        // A control without an id is made all the same, only not named or found by id.
        const QList<QLabel*> labels = b.dialog.findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(labels.size(), qsizetype(4));
        QCOMPARE(labels[3]->text(), QStringLiteral("Sans numéro"));
        QVERIFY(labels[3]->objectName().isEmpty());
    }

    void flagsAlignLabelsAndChooseTheDefaultButton()
    {
        Built b;
        QCOMPARE(horizontal(b.controls.control<QLabel>(Ctl::LeftLabel)), Qt::AlignLeft);
        QCOMPARE(horizontal(b.controls.control<QLabel>(Ctl::RightLabel)), Qt::AlignRight);
        QCOMPARE(horizontal(b.controls.control<QLabel>(Ctl::CentredLabel)), Qt::AlignHCenter);
        QCOMPARE(b.controls.control<QLabel>(Ctl::LeftLabel)->frameShape(), QFrame::NoFrame);
        QCOMPARE(b.controls.control<QLabel>(Ctl::CentredLabel)->frameShape(), QFrame::Panel);
        QCOMPARE(b.controls.control<QLabel>(Ctl::CentredLabel)->frameShadow(), QFrame::Sunken);
        QVERIFY(b.controls.control<QPushButton>(Ctl::Compute)->isDefault());
        QVERIFY(!b.controls.control<QPushButton>(Ctl::Stop)->isDefault());
        QVERIFY(b.controls.control<QPushButton>(Ctl::Stop)->autoDefault());
        QCOMPARE(b.controls.control<QFrame>(Ctl::Frame)->frameShape(), QFrame::Box);
        QCOMPARE(b.controls.control<QFrame>(Ctl::Line)->frameShape(), QFrame::VLine);
        QCOMPARE(b.controls.control<QFrame>(Ctl::Line)->frameShadow(), QFrame::Sunken);
    }

    void clicksAndListChoicesReportTheirControlsId()
    {
        Built b;
        b.dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b.dialog));
        for (Ctl id : {Ctl::Compute, Ctl::Stop, Ctl::Periodic, Ctl::Akima})
            QTest::mouseClick(b.controls.control(id), Qt::LeftButton);
        auto* list = b.controls.control<QComboBox>(Ctl::List);
        list->addItems({QStringLiteral("m"), QStringLiteral("cm")});
        QTest::keyClick(list, Qt::Key_Down);
        QTest::mouseClick(b.controls.control(Ctl::LeftLabel), Qt::LeftButton); // a label runs nothing
        QCOMPARE(
            b.commands,
            (std::vector<int>{int(Ctl::Compute), int(Ctl::Stop), int(Ctl::Periodic), int(Ctl::Akima), int(Ctl::List)}));
    }

    // Keys go through the dialog's window to whatever has the focus, as when typed.
    void enterPressesTheFocusedButtonOrElseTheDefaultOne_data()
    {
        QTest::addColumn<QList<Ctl>>("focused"); // in turn
        QTest::addColumn<Ctl>("pressed");
        QTest::newRow("in a field: the default button") << QList<Ctl>{Ctl::Field} << Ctl::Compute;
        QTest::newRow("on the default button: itself") << QList<Ctl>{Ctl::Compute} << Ctl::Compute;
        QTest::newRow("on another button: that one") << QList<Ctl>{Ctl::Stop} << Ctl::Stop;
        QTest::newRow("back in a field from that button: the default again")
            << QList<Ctl>{Ctl::Stop, Ctl::Field} << Ctl::Compute;
    }
    void enterPressesTheFocusedButtonOrElseTheDefaultOne()
    {
        QFETCH(QList<Ctl>, focused);
        QFETCH(Ctl, pressed);
        Built b;
        QVERIFY(showActive(b.dialog));
        for (Ctl id : focused)
            b.controls.control(id)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(b.dialog.windowHandle(), Qt::Key_Return);
        QCOMPARE(b.commands, std::vector<int>{int(pressed)});
    }

    void aToolTipNamesTheKeyOfItsButton()
    {
        Built b;
        QCOMPARE(b.controls.control(Ctl::Stop)->toolTip(), QStringLiteral("Arrêter (Ctrl+Z)"));
        QCOMPARE(b.controls.control(Ctl::Periodic)->toolTip(), QStringLiteral("Courbe périodique"));
        QCOMPARE(b.controls.control(Ctl::Compute)->toolTip(), QString());
    }

    // A button's key clicks it, wherever the focus is; a field keeps the keys it has a
    // use for (Ctrl+Z undoes its typing).
    void aButtonsKeyClicksItUnlessItIsDisabledOrTheFieldTakesIt_data()
    {
        QTest::addColumn<Ctl>("focused");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("clicked");
        QTest::newRow("the focus on another button: clicked") << Ctl::Compute << true << true;
        QTest::newRow("disabled: nothing") << Ctl::Compute << false << false;
        QTest::newRow("in a field: the field's own undo") << Ctl::Field << true << false;
    }
    void aButtonsKeyClicksItUnlessItIsDisabledOrTheFieldTakesIt()
    {
        QFETCH(Ctl, focused);
        QFETCH(bool, enabled);
        QFETCH(bool, clicked);
        Built b;
        auto* field = b.controls.control<QLineEdit>(Ctl::Field);
        field->setText(QStringLiteral("0.000"));
        b.controls.control(Ctl::Stop)->setEnabled(enabled);
        QVERIFY(showActive(b.dialog));
        b.controls.control(focused)->setFocus(Qt::TabFocusReason);
        QWindow* window = b.dialog.windowHandle();
        if (focused == Ctl::Field)
            QTest::keyClick(window, '6');
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(b.commands, clicked ? std::vector<int>{int(Ctl::Stop)} : std::vector<int>{});
        QCOMPARE(field->text(), QStringLiteral("0.000"));
    }

    void aFieldGivenTheFocusByTheDialogSelectsItsText_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("typed"); // "6" typed into "0.000" once it has the focus
        QTest::newRow("the first focus at opening") << "opening"
                                                    << "6";
        QTest::newRow("Tab from the field before") << "tab"
                                                   << "6";
        QTest::newRow("Shift+Tab onto a field left with part of it selected") << "backtab"
                                                                              << "6";
        QTest::newRow("a click: the caret where it lands") << "click"
                                                           << "0.0006";
        QTest::newRow("its window active again: the caret kept") << "reactivated"
                                                                 << "0.0006";
    }
    void aFieldGivenTheFocusByTheDialogSelectsItsText()
    {
        QFETCH(QString, how);
        QFETCH(QString, typed);
        Built b;
        auto* field = b.controls.control<QLineEdit>(Ctl::Field);
        auto* other = b.controls.control<QLineEdit>(Ctl::OtherField);
        field->setText(QStringLiteral("0.000"));
        other->setText(QStringLiteral("0.000"));
        QWidget elsewhere;
        QVERIFY(showActive(b.dialog));
        QCOMPARE(QApplication::focusWidget(), field);
        QWindow* window = b.dialog.windowHandle();
        QLineEdit* target = field;
        if (how == u"tab") {
            QTest::keyClick(window, Qt::Key_Tab);
            target = other;
        } else if (how == u"backtab") {
            QTest::keyClick(window, Qt::Key_Tab);
            field->setSelection(1, 2);
            QTest::keyClick(window, Qt::Key_Backtab, Qt::ShiftModifier);
        } else if (how == u"click") {
            QTest::keyClick(window, Qt::Key_Tab);
            QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(field->width() - 4, field->height() / 2));
        } else if (how == u"reactivated") {
            QTest::keyClick(window, Qt::Key_End);
            QVERIFY(showActive(elsewhere));
            b.dialog.activateWindow();
            QVERIFY(waitUntilActive(b.dialog));
        }
        QCOMPARE(QApplication::focusWidget(), target);
        QTest::keyClick(window, '6');
        QCOMPARE(target->text(), typed);
    }
};

QTEST_MAIN(DialogTemplateTest)
#include "tst_dialog_template.moc"
