#include "core/curve/CurveFile.h"

#include "gui/curve/CPointListDialog.h"

#include "GuiTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdlib>

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

// Whether a pixel column of `line` in `picture` holds some of the text drawn on `base`.
bool inked(const QImage& picture, const QRect& line, int x, QRgb base)
{
    for (int y = line.top(); y <= line.bottom(); ++y)
        if (std::abs(qGray(picture.pixel(x, y)) - qGray(base)) > 96)
            return true;
    return false;
}

} // namespace

class PointListTest : public QObject {
    Q_OBJECT

private slots:
    void unsortedFileIsListedSortedAndASelectedLineIsModified()
    {
        Fixture f;
        f.doc.xAxisName = "Temps";
        readAsciiFile(CRB_TEST_DATA "/mixed.txt", f.doc); // unsorted, two at x = 0
        whenTheListIsOpen([&](CPointListDialog& d) {
            QCOMPARE(labelText(d, PointListControl::XHeading), QStringLiteral("Temps"));
            QCOMPARE(labelText(d, PointListControl::Count), QStringLiteral("005 Points"));
            QCOMPARE(lines(d)->item(0)->text(), QStringLiteral(" 000       -1.500e+001         +2.500e+000"));
            QCOMPARE(lines(d)->item(4)->text(), QStringLiteral(" 004       +3.000e+000         +4.000e+000"));
            selectLine(d, 4);
            QCOMPARE(fieldText(d, PointListControl::X), QStringLiteral("+3.000e+000"));
            QCOMPARE(fieldText(d, PointListControl::Y), QStringLiteral("+4.000e+000"));
            typeInto(d, PointListControl::X, QStringLiteral("-20"));
            clickControl(d, PointListControl::Modify); // "&Modifier"
            QCOMPARE(lines(d)->item(0)->text(), QStringLiteral(" 000       -2.000e+001         +4.000e+000"));
            QVERIFY(lines(d)->selectedItems().isEmpty());
            clickControl(d, PointListControl::Ok);
        });
        QVERIFY(f.run());
        QCOMPARE(pointsOf(f.doc), (std::vector<CurvePoint>{{-20, 4}, {-15, 2.5}, {0, 0}, {0.5, 0.25}, {1, 2}}));
    }

    void everyColumnHasRoomForItsWidestTextAndItsHeading_data()
    {
        QTest::addColumn<int>("column"); // of the line, from the left
        QTest::addColumn<int>("heading");
        QTest::addColumn<QString>("headingText");
        QTest::newRow("number") << 0 << int(PointListControl::NumberHeading) << QStringLiteral("No.");
        QTest::newRow("x") << 1 << int(PointListControl::XHeading) << QStringLiteral("Température max");
        QTest::newRow("y") << 2 << int(PointListControl::YHeading) << QStringLiteral("Déplacement (m)");
    }

    // A full list of long numbers under long headings, in the dialog's own font. What
    // the open dialog shows is measured there and checked once it has closed.
    void everyColumnHasRoomForItsWidestTextAndItsHeading()
    {
        QFETCH(int, column);
        QFETCH(int, heading);
        QFETCH(QString, headingText);
        Fixture f;
        f.doc.xAxisName = "Température max";
        f.doc.yAxisName = "Déplacement (m)";
        for (int i = 0; i < MaxCurvePoints; ++i)
            f.doc.appendPoint({8.8888888e+200 * (i + 1), -3.7561234e-05});
        struct Shown {
            QString heading;
            int headingText = 0, headingRoom = 0;   // widths in pixels
            int left = 0, right = 0, lineWidth = 0; // the heading's span over the lines
            int widestField = 0;
            bool inked = false, edgesClear = false; // the first line's field in that span
        } shown;
        whenTheListIsOpen([&](CPointListDialog& d) {
            QListWidget* list = lines(d);
            auto* label = d.control<QLabel>(static_cast<PointListControl>(heading));
            shown.heading = label->text();
            shown.headingText = QFontMetrics(label->font()).horizontalAdvance(label->text());
            shown.headingRoom = label->contentsRect().width();
            QWidget* viewport = list->viewport();
            shown.left = label->mapTo(&d, QPoint(0, 0)).x() - viewport->mapTo(&d, QPoint(0, 0)).x();
            shown.right = shown.left + label->width();
            shown.lineWidth = viewport->width();
            const QFontMetrics lineFont(list->font());
            for (int row = 0; row < list->count(); ++row)
                shown.widestField = std::max(
                    shown.widestField,
                    lineFont.horizontalAdvance(list->item(row)->text().split(u' ', Qt::SkipEmptyParts).at(column)));
            const QImage picture = viewport->grab().toImage();
            const QRect line = list->visualItemRect(list->item(0));
            const QRgb base = list->palette().color(QPalette::Base).rgb();
            for (int x = std::max(shown.left, 0); x < std::min(shown.right, picture.width()); ++x)
                shown.inked = shown.inked || inked(picture, line, x, base);
            shown.edgesClear = shown.left > 0 && shown.right < picture.width()
                && !inked(picture, line, shown.left - 1, base) && !inked(picture, line, shown.right, base);
            clickControl(d, PointListControl::Cancel);
        });
        QVERIFY(!f.run());
        QCOMPARE(shown.heading, headingText);
        QVERIFY2(shown.headingText <= shown.headingRoom, "the heading is shown whole");
        QVERIFY2(shown.left > 0 && shown.right < shown.lineWidth, "the column lies inside the list");
        QVERIFY2(
            shown.widestField <= shown.right - shown.left,
            qPrintable(QStringLiteral("%1 px of text in %2").arg(shown.widestField).arg(shown.right - shown.left)));
        QVERIFY2(shown.inked && shown.edgesClear, "the first line shows its field under the heading");
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
        QCOMPARE(f.doc.points()[0], (CurvePoint{0, 0}));
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
        QCOMPARE(f.doc.count(), 0);
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
        QCOMPARE(f.doc.count(), 5);
        QCOMPARE(QString::fromStdString(f.doc.filePath), path);
        QCOMPARE(f.doc.smoothingMode, Akima);
        QCOMPARE(f.doc.unitName, std::string("mm"));
        QCOMPARE(f.doc.savedCount(), 3);
    }
};

QTEST_MAIN(PointListTest)
#include "tst_point_list.moc"
