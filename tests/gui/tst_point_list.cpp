#include "core/curve/CurveFile.h"

#include "gui/curve/CPointListDialog.h"

#include "GuiTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Acts on the list once it is up; the dialog is modal, so this runs from its event loop.
template <class Act>
void whenTheListIsOpen(Act act)
{
    whenTheModalDialogOpens<CPointListDialog>(act);
}

QListWidget* lines(CPointListDialog& d)
{
    return d.control<QListWidget>(PointListControl::Lines);
}
QString field(CPointListDialog& d, PointListControl id)
{
    return d.control<QLineEdit>(id)->text();
}

void selectLine(CPointListDialog& d, int row)
{
    QListWidget* list = lines(d);
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

struct Fixture {
    CScriptedPlatformServices services;
    CurveDocument doc;
    FormulaDialogMemory memory;
    explicit Fixture(int n = 0)
    {
        for (int i = 0; i < n; ++i)
            doc.appendPoint({double(i), 0});
    }
    bool run() { return runPointListDialog(nullptr, services, doc, memory).accepted; }
};

} // namespace

class PointListTest : public QObject {
    Q_OBJECT

private slots:
    void unsortedFileIsListedSortedAndASelectedLineIsModified()
    {
        Fixture f;
        f.doc.xAxisName = "Temps";
        readAsciiFile(CRB_TEST_DATA "/mixed.txt", f.doc, f.doc.points, f.doc.count); // unsorted, two at x = 0
        whenTheListIsOpen([&](CPointListDialog& d) {
            QCOMPARE(labelText(d, PointListControl::XHeading), QStringLiteral("Temps"));
            QCOMPARE(labelText(d, PointListControl::Count), QStringLiteral("005 Points"));
            QCOMPARE(lines(d)->item(0)->text(), QStringLiteral(" 000       -1.500e+001         +2.500e+000"));
            QCOMPARE(lines(d)->item(4)->text(), QStringLiteral(" 004       +3.000e+000         +4.000e+000"));
            selectLine(d, 4);
            QCOMPARE(field(d, PointListControl::X), QStringLiteral("+3.000e+000"));
            QCOMPARE(field(d, PointListControl::Y), QStringLiteral("+4.000e+000"));
            typeInto(d, PointListControl::X, QStringLiteral("-20"));
            clickControl(d, PointListControl::Modify); // "&Modifier"
            QCOMPARE(lines(d)->item(0)->text(), QStringLiteral(" 000       -2.000e+001         +4.000e+000"));
            QVERIFY(lines(d)->selectedItems().isEmpty());
            clickControl(d, PointListControl::Ok);
        });
        QVERIFY(f.run());
        QCOMPARE(pointsOf(f.doc), (std::vector<CurvePoint>{{-20, 4}, {-15, 2.5}, {0, 0}, {0.5, 0.25}, {1, 2}}));
    }

    void insertAtTheLimitIsRefusedAndTheListKeptAsItWas()
    {
        Fixture f(MaxCurvePoints);
        whenTheListIsOpen([&](CPointListDialog& d) {
            selectLine(d, 1023);
            typeInto(d, PointListControl::X, QStringLiteral("-2"));
            clickControl(d, PointListControl::Insert); // "Insérer &Point"
            QCOMPARE(f.services.messages.size(), std::size_t(1));
            const RecordedMessage& m = f.services.messages[0];
            QCOMPARE(m.text, QStringLiteral("Limite des points atteinte\nImpossible d'inserer un point"));
            QCOMPARE(m.caption, QStringLiteral("Attention"));
            QCOMPARE(m.icon, MessageIcon::Warning);
            QCOMPARE(m.owner, &d);
            QCOMPARE(lines(d)->count(), 1024);
            QVERIFY(lines(d)->item(1023)->isSelected()); // not refreshed
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        QVERIFY(!f.run());
        QCOMPARE(f.doc.points[0], (CurvePoint{0, 0}));
    }

    void emptiedThenAcceptedLeavesTheDocumentEmpty()
    {
        Fixture f(3);
        whenTheListIsOpen([&](CPointListDialog& d) {
            clickControl(d, PointListControl::Empty); // "&Vider"
            QCOMPARE(lines(d)->count(), 0);
            QCOMPARE(labelText(d, PointListControl::Count), QStringLiteral("000 Points"));
            clickControl(d, PointListControl::Ok);
        });
        QVERIFY(f.run());
        QCOMPARE(f.doc.count, 0);
    }

    void fileReadThenCancelKeepsThePointsButNotTheSettings()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("CURVE.CRB"));
        QVERIFY(QFile::copy(QStringLiteral(CRB_TEST_DATA "/current.crb"), path));
        Fixture f(5);
        f.services.chooseNextFile(path);
        whenTheListIsOpen([&](CPointListDialog& d) {
            clickControl(d, PointListControl::File); // "&Fichier"
            QCOMPARE(labelText(d, PointListControl::Count), QStringLiteral("003 Points"));
            QCOMPARE(lines(d)->item(2)->text(), QStringLiteral(" 002       +3.000e+000         +4.125e+000"));
            clickControl(d, PointListControl::Cancel); // "&Arrêt"
        });
        QVERIFY(!f.run());
        QCOMPARE(f.services.fileRequests.size(), std::size_t(1));
        QCOMPARE(f.services.fileRequests[0].title, QStringLiteral("Ouvrir un fichier"));
        QCOMPARE(f.services.fileRequests[0].initialName, QStringLiteral("*.crb"));
        QCOMPARE(f.doc.count, 5);
        QCOMPARE(QString::fromStdString(f.doc.filePath), path);
        QCOMPARE(f.doc.smoothingMode, 2);
        QCOMPARE(f.doc.unitName, std::string("mm"));
        QCOMPARE(f.doc.savedCount, 3);
    }
};

QTEST_MAIN(PointListTest)
#include "tst_point_list.moc"
