#pragma once

// What the core tests share: points printed as (x, y) in failures, the test data files,
// the points of a document as a vector, and a scripted host (ScriptedEditorHost.h).

#include "curve/CurveDocument.h"

#include "CurvePointPrinter.h"

#include <string>
#include <vector>

// A file of tests/data.
inline std::string dataFile(const char* name)
{
    return std::string(CRB_TEST_DATA) + "/" + name;
}

// The document's points, count kept within the capacity.
inline std::vector<CurvePoint> pointsOf(const CurveDocument& doc)
{
    const auto points = doc.currentPoints();
    return {points.begin(), points.end()};
}
