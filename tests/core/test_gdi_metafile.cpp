// The clipboard's metafile exists on Windows only; these tests run there (under Wine here).
#ifdef _WIN32

#include "draw/GdiMetafileSurface.h"
#include "draw/RecordingSurface.h"
#include "output/CurvePage.h"
#include "view/SmoothCurve.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// What a metafile holds, read back record by record.
struct MetafileRecords {
    std::map<DWORD, int> counts;      // records of each type
    std::vector<std::string> texts;   // of the text records, in order
    std::vector<COLORREF> penColours; // of the pens made, in order
    std::vector<int> rasterModes;     // of the SetROP2 records
    std::vector<POINTL> lineEnds;     // of the LineTo records
    int count(DWORD type) const
    {
        const auto it = counts.find(type);
        return it == counts.end() ? 0 : it->second;
    }
};

int CALLBACK readRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data)
{
    auto& out = *reinterpret_cast<MetafileRecords*>(data);
    ++out.counts[record->iType];
    switch (record->iType) {
    case EMR_EXTTEXTOUTW: {
        const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const auto* chars =
            reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + text->emrtext.offString);
        out.texts.push_back(utf8Of(std::filesystem::path(std::wstring(chars, text->emrtext.nChars))));
        break;
    }
    case EMR_CREATEPEN: out.penColours.push_back(reinterpret_cast<const EMRCREATEPEN*>(record)->lopn.lopnColor); break;
    case EMR_SETROP2:
        out.rasterModes.push_back(static_cast<int>(reinterpret_cast<const EMRSETROP2*>(record)->iMode));
        break;
    case EMR_LINETO: out.lineEnds.push_back(reinterpret_cast<const EMRLINETO*>(record)->ptl); break;
    default: break;
    }
    return 1;
}

MetafileRecords recordsOf(HENHMETAFILE metafile)
{
    MetafileRecords out;
    EnumEnhMetaFile(nullptr, metafile, readRecord, &out, nullptr);
    return out;
}

int ofKind(const RecordingSurface& s, RecordingSurface::Kind kind)
{
    return static_cast<int>(s.ofKind(kind).size());
}

} // namespace

// The pasted picture is the one the recording surface sees: each line, polyline, box,
// circle and text of the graduated curve, as GDI records.
TEST(GdiMetafile, HoldsEveryPrimitiveOfTheCurvePicture)
{
    const std::vector<std::vector<CurvePoint>> curves = {
        {},
        {{0, 0}, {1, 3}, {2, -1}, {3, 4}, {4, 0}},
    };
    for (const auto& points : curves) {
        SCOPED_TRACE(points.size());
        const CurvePageTexts texts{std::nullopt, std::nullopt, std::nullopt, "Temps", "Course (\xC2\xB5m)"};
        RecordingSurface recorded({800, 600}, 96, 96);
        drawCurvePage(recorded, PageKind::Picture, points, Akima, {}, texts);
        GdiMetafileSurface gdi({800, 600}, 96, "came");
        ASSERT_TRUE(gdi.isValid());
        drawCurvePage(gdi, PageKind::Picture, points, Akima, {}, texts);
        const HENHMETAFILE metafile = gdi.finish();
        ASSERT_NE(metafile, nullptr);
        const MetafileRecords records = recordsOf(metafile);

        ENHMETAHEADER header{};
        ASSERT_GT(GetEnhMetaFileHeader(metafile, sizeof header, &header), 0u);
        EXPECT_EQ(header.rclFrame.right, MulDiv(800, 2540, 96)) << "the frame gives the physical size";
        EXPECT_EQ(header.rclFrame.bottom, MulDiv(600, 2540, 96));
        DeleteEnhMetaFile(metafile);

        EXPECT_EQ(records.count(EMR_LINETO), ofKind(recorded, RecordingSurface::Kind::Line));
        EXPECT_EQ(records.count(EMR_POLYLINE) + records.count(EMR_POLYLINE16),
                  ofKind(recorded, RecordingSurface::Kind::Polyline));
        EXPECT_EQ(records.count(EMR_RECTANGLE), ofKind(recorded, RecordingSurface::Kind::Rectangle));
        EXPECT_EQ(records.count(EMR_ELLIPSE), ofKind(recorded, RecordingSurface::Kind::Ellipse));
        EXPECT_EQ(records.texts, recorded.texts());
        std::vector<COLORREF> recordedColours;
        for (const auto& p : recorded.primitives())
            if (p.kind != RecordingSurface::Kind::Text)
                recordedColours.push_back(RGB(p.pen.colour.r, p.pen.colour.g, p.pen.colour.b));
        for (COLORREF c : records.penColours)
            EXPECT_NE(std::find(recordedColours.begin(), recordedColours.end(), c), recordedColours.end()) << c;
    }
}

// Exclusive-or reaches the metafile as a raster operation; text stays copied; segments
// keep their own ends (GDI leaves the last pixel out itself).
TEST(GdiMetafile, ModesAndSegments)
{
    GdiMetafileSurface gdi({200, 100}, 144, "");
    gdi.setPen({Colours::Black, 1, PenStyle::Dot});
    gdi.setMode(DrawMode::Xor);
    gdi.line({10, 10}, {50, 10});
    gdi.text({20, 20}, "x", {});
    gdi.setMode(DrawMode::Copy);
    gdi.line({10, 20}, {50, 30});
    EXPECT_GT(gdi.measureText("abc").width, 0);
    const HENHMETAFILE metafile = gdi.finish();
    ASSERT_NE(metafile, nullptr);
    EXPECT_EQ(gdi.finish(), nullptr) << "handed over once";
    const MetafileRecords records = recordsOf(metafile);
    DeleteEnhMetaFile(metafile);
    EXPECT_EQ(records.rasterModes, (std::vector<int>{R2_XORPEN, R2_COPYPEN}));
    ASSERT_EQ(records.lineEnds.size(), 2u);
    EXPECT_EQ(records.lineEnds[0].x, 50);
    EXPECT_EQ(records.lineEnds[1].y, 30);
    EXPECT_EQ(records.texts, (std::vector<std::string>{"x"}));
}

#endif
