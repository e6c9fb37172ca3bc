#include "gui/common/DialogTemplate.h"
#include "gui/common/DialogUnits.h"

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
#include <QtTest>

#include <tuple>
#include <vector>

namespace {

using Kind = ControlKind;

constexpr ControlSpec Controls[] = {
    {10, Kind::Group, "Cadre", 2, 2, 116, 60},
    {11, Kind::Label, "Gauche", 4, 10, 40, 10},
    {12, Kind::Label, "Droite", 4, 20, 40, 10, ControlFlag::RightAligned},
    {13, Kind::Label, "", 4, 30, 40, 10, ControlFlag::Centred | ControlFlag::SunkenPanel},
    {NoControlId, Kind::Label, "Sans numéro", 50, 10, 40, 10},
    {20, Kind::Edit, "", 50, 20, 60, 12},
    {30, Kind::Button, "&Calcul", 4, 70, 40, 14, ControlFlag::Default},
    {31, Kind::Button, "&Arrêt", 50, 70, 40, 14, ControlFlag::NoAutoDefault},
    {32, Kind::Check, "Périodicité", 4, 86, 60, 10},
    {33, Kind::Radio, "Akima", 66, 86, 50, 10},
    {34, Kind::Combo, "", 4, 98, 60, 14},
    {40, Kind::Custom, "", 66, 98, 50, 14},
    {41, Kind::Frame, "", 4, 114, 112, 20},
    {42, Kind::EtchedLine, "", 60, 114, 2, 15},
};

constexpr DialogTemplate Layout{120, 140, Controls};

struct Built {
    QDialog dialog;
    DialogControls controls;
    std::vector<int> commands;

    Built()
    {
        controls = buildDialog(dialog, Layout, [this](int id) { commands.push_back(id); },
                               [](QWidget& parent, const ControlSpec&) { return new QSlider(&parent); });
    }
};

Qt::Alignment horizontal(QLabel* label)
{
    return label->alignment() & Qt::AlignHorizontal_Mask;
}

} // namespace

class DialogTemplateTest : public QObject {
    Q_OBJECT
private slots:
    void eachControlIsItsKindsWidgetNamedAndPlacedInDialogUnits_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QByteArray>("className");
        QTest::addColumn<QString>("caption");
        const std::vector<std::tuple<int, const char*, QString>> rows = {
            {10, "QGroupBox", "Cadre"},   {11, "QLabel", "Gauche"},       {20, "QLineEdit", ""},
            {30, "QPushButton", "&Calcul"}, {32, "QCheckBox", "Périodicité"}, {33, "QRadioButton", "Akima"},
            {34, "QComboBox", ""},        {40, "QSlider", ""},            {41, "QFrame", ""},
            {42, "QFrame", ""},
        };
        for (const auto& [id, className, caption] : rows)
            QTest::addRow("%d", id) << id << QByteArray(className) << caption;
    }

    void eachControlIsItsKindsWidgetNamedAndPlacedInDialogUnits()
    {
        QFETCH(int, id);
        QFETCH(QByteArray, className);
        QFETCH(QString, caption);
        Built b;
        QWidget* w = b.controls.control(id);
        QVERIFY(w);
        QCOMPARE(QByteArray(w->metaObject()->className()), className);
        QCOMPARE(w->parentWidget(), &b.dialog);
        QCOMPARE(w->objectName(), QStringLiteral("ctl%1").arg(id));
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
        QCOMPARE(made.front(), b.controls.control(10));
        QCOMPARE(made.back(), b.controls.control(42));
    }

    void theLookupGivesOnlyAControlOfTheAskedType()
    {
        Built b;
        QVERIFY(b.controls.control<QLineEdit>(20));
        QVERIFY(!b.controls.control<QLabel>(20));
        QVERIFY(b.controls.control<QAbstractButton>(32)); // a check box is a button
        QVERIFY(!b.controls.control(99));
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
        QCOMPARE(horizontal(b.controls.control<QLabel>(11)), Qt::AlignLeft);
        QCOMPARE(horizontal(b.controls.control<QLabel>(12)), Qt::AlignRight);
        QCOMPARE(horizontal(b.controls.control<QLabel>(13)), Qt::AlignHCenter);
        QCOMPARE(b.controls.control<QLabel>(11)->frameShape(), QFrame::NoFrame);
        QCOMPARE(b.controls.control<QLabel>(13)->frameShape(), QFrame::Panel);
        QCOMPARE(b.controls.control<QLabel>(13)->frameShadow(), QFrame::Sunken);
        QVERIFY(b.controls.control<QPushButton>(30)->isDefault());
        QVERIFY(!b.controls.control<QPushButton>(31)->isDefault());
        QVERIFY(!b.controls.control<QPushButton>(31)->autoDefault());
        QCOMPARE(b.controls.control<QFrame>(41)->frameShape(), QFrame::Box);
        QCOMPARE(b.controls.control<QFrame>(42)->frameShape(), QFrame::VLine);
        QCOMPARE(b.controls.control<QFrame>(42)->frameShadow(), QFrame::Sunken);
    }

    void clicksAndListChoicesReportTheirControlsId()
    {
        Built b;
        b.dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b.dialog));
        for (int id : {30, 31, 32, 33})
            QTest::mouseClick(b.controls.control(id), Qt::LeftButton);
        auto* list = b.controls.control<QComboBox>(34);
        list->addItems({QStringLiteral("m"), QStringLiteral("cm")});
        QTest::keyClick(list, Qt::Key_Down);
        QTest::mouseClick(b.controls.control(11), Qt::LeftButton); // a label runs nothing
        QCOMPARE(b.commands, (std::vector<int>{30, 31, 32, 33, 34}));
    }
};

QTEST_MAIN(DialogTemplateTest)
#include "tst_dialog_template.moc"
