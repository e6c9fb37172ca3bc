#include "curve/PointList.h"

#include "curve/CurveFile.h"
#include "text/NumberText.h"
#include "text/Utf8Text.h"

#include <algorithm>
#include <cmath>

double readPointField(std::string_view text)
{
    const std::string read = truncateUtf8(text, PointFieldLength);
    std::string_view rest(read);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
        rest.remove_prefix(1);
    double value = 0;
    bool overflow = false;
    if (parseDecimalPrefix(rest, value, &overflow) == 0 || overflow || !std::isfinite(value))
        return 0;
    return value;
}

std::vector<std::string> widestColumnTexts(PointListColumn column)
{
    std::vector<std::string> texts;
    for (char digit = '0'; digit <= '9'; ++digit) {
        if (column == PointListColumn::Number) {
            // The numbers run up to MaxCurvePoints - 1: four digits.
            texts.push_back(std::string(4, digit));
            continue;
        }
        // A coordinate: sign, one digit, point, three digits, "e", sign, three digits.
        const std::string digits(3, digit);
        for (char sign : {'+', '-'})
            for (char exponentSign : {'+', '-'})
                texts.push_back(sign + std::string(1, digit) + '.' + digits + 'e' + exponentSign + digits);
    }
    return texts;
}

PointListColumns layoutPointListColumns(const std::array<int, PointListColumnCount>& widestField,
                                        const std::array<int, PointListColumnCount>& heading, int room, int minGap)
{
    PointListColumns columns;
    long long texts = 0;
    for (std::size_t c = 0; c < PointListColumnCount; ++c) {
        columns.width[c] = std::max({0, widestField[c], heading[c]});
        texts += columns.width[c];
    }
    // Two gaps between the columns and two halves at the ends.
    const long long gaps = static_cast<long long>(PointListColumnCount);
    const long long gap = std::max<long long>(std::max(0, minGap), (room - texts) / gaps);
    long long x = gap / 2;
    for (std::size_t c = 0; c < PointListColumnCount; ++c) {
        columns.left[c] = static_cast<int>(x);
        columns.fieldLeft[c] = columns.left[c] + (columns.width[c] - std::max(0, widestField[c])) / 2;
        x += columns.width[c] + gap;
    }
    const long long needed = x - gap / 2; // the half gap after the last column
    columns.grow = static_cast<int>(std::max<long long>(0, needed - room));
    return columns;
}

CPointList::CPointList(const CurveDocument& doc) : list_(std::make_unique<CurvePoints>())
{
    list_->replacePoints(doc.points());
    list_->normalize();
}

std::string CPointList::lineText(int index) const
{
    const CurvePoint& p = points()[static_cast<std::size_t>(index)];
    return cformat(PointLineFormat, {index, p.x, p.y});
}

PointLineFields CPointList::lineFields(int index) const
{
    if (!isLine(index))
        return {};
    const CurvePoint& p = points()[static_cast<std::size_t>(index)];
    return {cformat(PointNumberFormat, {index}), cformat(PointFieldFormat, {p.x}), cformat(PointFieldFormat, {p.y})};
}

std::vector<std::string> CPointList::lineTexts() const
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(listCount()));
    for (int i = 0; i < listCount(); ++i)
        lines.push_back(lineText(i));
    return lines;
}

std::string CPointList::countText() const
{
    return cformat(PointCountFormat, {listCount()});
}

std::optional<PointFieldTexts> CPointList::fieldTexts(int selected) const
{
    if (!isLine(selected))
        return std::nullopt;
    const CurvePoint& p = points()[static_cast<std::size_t>(selected)];
    return PointFieldTexts{cformat(PointFieldFormat, {p.x}), cformat(PointFieldFormat, {p.y})};
}

std::optional<UserMessage> CPointList::insert(std::string_view xText, std::string_view yText)
{
    if (!list_->appendPoint({readPointField(xText), readPointField(yText)}))
        return UserMessage{std::string(ListLimitMessage), std::string(ListLimitCaption), MessageButtons::Ok,
                           MessageIcon::Warning, MessageOwner::Dialog};
    list_->normalize();
    return std::nullopt;
}

void CPointList::modify(int selected, std::string_view xText, std::string_view yText)
{
    list_->setPoint(selected, {readPointField(xText), readPointField(yText)});
    list_->normalize();
}

void CPointList::remove(int selected)
{
    list_->removePoint(selected);
}

int CPointList::appendFormulaPoints(std::span<const CurvePoint> computed)
{
    const int kept = list_->appendPoints(computed);
    list_->normalize();
    return kept;
}

std::optional<UserMessage> CPointList::readFile(const std::string& path, CurveDocument& doc)
{
    // The file keeps its real name: on a case-sensitive file system the lowered name
    // would be another file. Only the choice of the reader ignores the letter case.
    doc.filePath = path;
    // The list now holds what the file holds, so that is what the reader marks saved.
    const FileReadResult result = readPointFile(path, doc, *list_);
    if (result.opened)
        fileRead_ = true;
    list_->normalize();
    if (result.message.empty())
        return std::nullopt;
    return UserMessage{result.message, "", MessageButtons::Ok, MessageIcon::Error, MessageOwner::None};
}

void CPointList::empty()
{
    list_->clearPoints();
}

void CPointList::writeBack(CurveDocument& doc) const
{
    doc.replacePoints(points());
}
