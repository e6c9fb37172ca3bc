#pragma once

#include "common/UserMessage.h"
#include "curve/CurveDocument.h"

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view PointListTitle = "Liste des Points";
inline constexpr std::string_view PointLineFormat = " %03d       %+6.3e         %+6.3e";
inline constexpr std::string_view PointCountFormat = "%03d Points";
inline constexpr std::string_view PointFieldFormat = "%+6.3e";
inline constexpr std::string_view PointNumberFormat = "%03d"; // a line's number, from 000
inline constexpr std::string_view ListLimitMessage = "Limite des points atteinte\nImpossible d'inserer un point";
inline constexpr std::string_view ListLimitCaption = "Attention";

// How many characters of an entry field are read.
inline constexpr int PointFieldLength = 15;
// The selection the list box reports when no line is selected.
inline constexpr int NoSelectedLine = -1;

// The texts an entry field pair shows for one point.
struct PointFieldTexts {
    std::string x;
    std::string y;
    friend bool operator==(const PointFieldTexts&, const PointFieldTexts&) = default;
};

// The columns of a list line, left to right.
enum class PointListColumn {
    Number,
    X,
    Y
};
inline constexpr std::size_t PointListColumnCount = 3;
// The number column's heading: the first word of its caption in the dialog's
// template, the rest of which (blanks, then the x heading) has a label of its own.
inline constexpr std::string_view NumberHeadingText = "No.";

// The texts of a list line, one per column, as the line writes them.
using PointLineFields = std::array<std::string, PointListColumnCount>;

// Texts at least as wide as any field of `column` in any font: whichever digit and
// sign a font draws widest, some text has it in every place of the longest field.
std::vector<std::string> widestColumnTexts(PointListColumn column);

// Where the columns go across the lines of the list, in pixels from their left edge.
struct PointListColumns {
    // Each column, its heading over the same span.
    std::array<int, PointListColumnCount> left{};
    std::array<int, PointListColumnCount> width{};
    // Where the fields of each column start.
    std::array<int, PointListColumnCount> fieldLeft{};
    // How much wider than the room given the lines must become.
    int grow = 0;
    friend bool operator==(const PointListColumns&, const PointListColumns&) = default;
};

// Lays out columns as wide as their widest texts, field or heading, over `room`
// pixels: what is left over is shared out as gaps of at least `minGap`, half a gap
// before the first column and after the last. The fields start where the widest of
// them stands centred under a wider heading. When the columns do not fit, `grow` says
// by how much they overflow.
PointListColumns layoutPointListColumns(const std::array<int, PointListColumnCount>& widestField,
                                        const std::array<int, PointListColumnCount>& heading, int room, int minGap);

// A number typed into an entry field: its first PointFieldLength characters, leading
// blanks skipped, then the longest decimal number there; 0 when there is none, or
// when it does not fit a double (an infinity must never enter the curve).
double readPointField(std::string_view text);

// The point list dialog without its window: a working copy of the document's points,
// kept in ascending x by the document's rule, edited by value and written back only
// when the user accepts. The copy lives on the heap while the list is open.
class CPointList {
public:
    // Copies the document's points and normalizes the copy.
    explicit CPointList(const CurveDocument& doc);

    int listCount() const { return list_->count(); }
    std::span<const CurvePoint> points() const { return list_->points(); }

    // One line per point, numbered from 000, and the count label.
    std::vector<std::string> lineTexts() const;
    std::string lineText(int index) const;
    // The line of point `index` cut into its columns; empty texts past the last point.
    PointLineFields lineFields(int index) const;
    std::string countText() const;
    // What the entry fields show for the selected line; nothing when no point is there.
    std::optional<PointFieldTexts> fieldTexts(int selected) const;

    // "Insérer &Point": appends (x, y) and normalizes. At the capacity nothing changes
    // and the limit message comes back instead (the list is then not refreshed).
    std::optional<UserMessage> insert(std::string_view xText, std::string_view yText);
    // "&Modifier": replaces the selected point, if any; normalizes in both cases.
    void modify(int selected, std::string_view xText, std::string_view yText);
    // "&Supprimer": removes the selected point, if any; the later points move down.
    void remove(int selected);
    // "&Formule": appends the first points that fit and normalizes; how many were kept.
    int appendFormulaPoints(std::span<const CurvePoint> computed);
    // "&Fichier": reads `path` into the copy with the reader its name calls for, then
    // normalizes. The document's file path, and what the reader sets (settings of a
    // curve file, the saved state), change at once whatever becomes of the list.
    std::optional<UserMessage> readFile(const std::string& path, CurveDocument& doc);
    // True once "&Fichier" has read a file into the list (and so into the document's settings).
    bool fileRead() const { return fileRead_; }
    // "&Vider".
    void empty();

    // "&Ok": the document takes the copy's points.
    void writeBack(CurveDocument& doc) const;

private:
    bool isLine(int index) const { return index >= 0 && index < listCount(); }

    std::unique_ptr<CurvePoints> list_;
    bool fileRead_ = false;
};

// How the point list dialog ended.
struct PointListResult {
    bool accepted = false; // "&Ok" wrote the list's copy back into the document
    bool fileRead = false; // "&Fichier" read a file: the document's settings are the file's
};
