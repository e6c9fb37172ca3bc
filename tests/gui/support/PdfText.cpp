#include "PdfText.h"

#include <QFile>
#include <QHash>
#include <QPointF>
#include <QSet>
#include <QTransform>
#include <QtEndian>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <map>
#include <vector>

// What is understood is what Qt writes: a classic cross-reference table (the objects are
// found by scanning the file when it is missing or wrong), FlateDecode streams, Type0
// (Identity-H) and simple fonts whose codes a ToUnicode map turns into text, and the text
// operators of the page content streams.

namespace {

struct Value {
    enum Kind {
        Null,
        Number,
        String,
        Name,
        Keyword,
        Array,
        Dict,
        Ref
    };
    Kind kind = Null;
    double number = 0;            // Number; the object number of a Ref
    QByteArray bytes;             // String, Name, Keyword; the decoded data of a stream
    std::vector<QByteArray> keys; // Dict
    std::vector<Value> items;     // the items of an Array, the values of a Dict
    bool hasStream = false;

    bool is(Kind k) const { return kind == k; }
    bool isName(const char* name) const { return kind == Name && bytes == name; }
    const Value& operator[](const char* key) const
    {
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key)
                return items[i];
        static const Value none;
        return none;
    }
};

bool isBlank(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool isDelimiter(char c)
{
    return c != '\0' && std::strchr("()<>[]{}/%", c) != nullptr;
}

class Parser {
public:
    explicit Parser(const QByteArray& data, qsizetype pos = 0) : d_(data), pos_(pos) { }

    qsizetype pos() const { return pos_; }
    bool atEnd()
    {
        skipBlanks();
        return pos_ >= d_.size();
    }
    bool lookingAt(const char* token)
    {
        skipBlanks();
        return d_.mid(pos_, qsizetype(std::strlen(token))) == token;
    }

    // The next object; references (`12 0 R`) are read only when asked, as content
    // streams have none and their operators come back as keywords.
    Value read(bool references = true, int depth = 0)
    {
        Value v;
        if (atEnd() || depth > 64)
            return v;
        const char c = d_[pos_];
        if (c == '/') {
            ++pos_;
            v.kind = Value::Name;
            while (pos_ < d_.size() && !isBlank(d_[pos_]) && !isDelimiter(d_[pos_])) {
                char ch = d_[pos_++];
                if (ch == '#' && pos_ + 1 < d_.size()) {
                    ch = char(d_.mid(pos_, 2).toInt(nullptr, 16));
                    pos_ += 2;
                }
                v.bytes += ch;
            }
        } else if (c == '(') {
            ++pos_;
            v.kind = Value::String;
            readLiteral(v.bytes);
        } else if (lookingAt("<<")) {
            pos_ += 2;
            v.kind = Value::Dict;
            while (!atEnd() && !lookingAt(">>")) {
                Value key = read(references, depth + 1);
                Value value = read(references, depth + 1);
                if (key.is(Value::Name)) {
                    v.keys.push_back(key.bytes);
                    v.items.push_back(std::move(value));
                }
            }
            pos_ += 2;
        } else if (c == '<') {
            const qsizetype end = d_.indexOf('>', pos_);
            const qsizetype stop = end < 0 ? d_.size() : end;
            v.kind = Value::String;
            v.bytes =
                QByteArray::fromHex(d_.mid(pos_ + 1, stop - pos_ - 1)); // an odd last digit counts as followed by 0
            pos_ = stop + 1;
        } else if (c == '[') {
            ++pos_;
            v.kind = Value::Array;
            while (!atEnd() && d_[pos_] != ']')
                v.items.push_back(read(references, depth + 1));
            ++pos_;
        } else if (std::isdigit(uchar(c)) || c == '+' || c == '-' || c == '.') {
            v.kind = Value::Number;
            v.number = token().toDouble();
            if (references && v.number >= 0 && v.number == std::floor(v.number))
                readReference(v);
        } else {
            v.kind = Value::Keyword;
            v.bytes = token();
            if (v.bytes.isEmpty()) // a stray delimiter
                v.bytes = QByteArray(1, d_[pos_++]);
        }
        return v;
    }

private:
    QByteArray token()
    {
        const qsizetype start = pos_;
        while (pos_ < d_.size() && !isBlank(d_[pos_]) && !isDelimiter(d_[pos_]))
            ++pos_;
        return d_.mid(start, pos_ - start);
    }

    void readLiteral(QByteArray& out)
    {
        int nesting = 1;
        while (pos_ < d_.size()) {
            char ch = d_[pos_++];
            if (ch == '(') {
                ++nesting;
            } else if (ch == ')') {
                if (--nesting == 0)
                    return;
            } else if (ch == '\\' && pos_ < d_.size()) {
                ch = d_[pos_++];
                switch (ch) {
                case 'n': ch = '\n'; break;
                case 'r': ch = '\r'; break;
                case 't': ch = '\t'; break;
                case 'b': ch = '\b'; break;
                case 'f': ch = '\f'; break;
                case '\r':
                    if (pos_ < d_.size() && d_[pos_] == '\n')
                        ++pos_;
                    continue;
                case '\n': continue;
                default:
                    if (ch >= '0' && ch <= '7') {
                        int code = ch - '0';
                        for (int i = 0; i < 2 && pos_ < d_.size() && d_[pos_] >= '0' && d_[pos_] <= '7'; ++i)
                            code = code * 8 + (d_[pos_++] - '0');
                        ch = char(code);
                    }
                }
            }
            out += ch;
        }
    }

    // `N G R` after the number N just read.
    void readReference(Value& v)
    {
        const qsizetype start = pos_;
        skipBlanks();
        const QByteArray generation = token();
        skipBlanks();
        bool numeric = !generation.isEmpty();
        for (char ch : generation)
            numeric = numeric && std::isdigit(uchar(ch));
        if (numeric && pos_ < d_.size() && d_[pos_] == 'R'
            && (pos_ + 1 >= d_.size() || isBlank(d_[pos_ + 1]) || isDelimiter(d_[pos_ + 1]))) {
            ++pos_;
            v.kind = Value::Ref;
        } else {
            pos_ = start;
        }
    }

    void skipBlanks()
    {
        while (pos_ < d_.size()) {
            if (isBlank(d_[pos_]))
                ++pos_;
            else if (d_[pos_] == '%')
                while (pos_ < d_.size() && d_[pos_] != '\n' && d_[pos_] != '\r')
                    ++pos_;
            else
                break;
        }
    }

    const QByteArray& d_;
    qsizetype pos_;
};

// qUncompress wants the expected size ahead of the zlib data; it grows its buffer when the
// guess is short, and the loop covers a Qt that would not.
QByteArray inflate(const QByteArray& zlib)
{
    for (qsizetype guess = std::max<qsizetype>(zlib.size() * 8, 1 << 16); guess <= (1 << 28); guess *= 16) {
        QByteArray framed(4, '\0');
        qToBigEndian(quint32(guess), framed.data());
        const QByteArray data = qUncompress(framed + zlib);
        if (!data.isEmpty())
            return data;
    }
    return {};
}

QString fromUtf16BigEndian(const QByteArray& bytes)
{
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(char16_t(uchar(bytes[i]) << 8 | uchar(bytes[i + 1])));
    return text;
}

quint32 codeOf(const QByteArray& bytes)
{
    quint32 code = 0;
    for (char b : bytes)
        code = code << 8 | uchar(b);
    return code;
}

struct Font {
    int codeBytes = 1;
    bool simple = true;
    double defaultWidth = 500; // thousandths of the font size
    QHash<quint32, double> widths;
    QHash<quint32, QString> unicode;

    double width(quint32 code) const { return widths.value(code, defaultWidth); }
    QString text(quint32 code) const
    {
        const auto found = unicode.constFind(code);
        if (found != unicode.constEnd())
            return *found;
        return simple ? QString(QChar(char16_t(code))) : QString();
    }
};

void readToUnicode(const QByteArray& cmap, Font& font)
{
    Parser parser(cmap);
    std::vector<Value> operands;
    while (!parser.atEnd()) {
        Value v = parser.read(false);
        if (!v.is(Value::Keyword)) {
            operands.push_back(std::move(v));
            continue;
        }
        if (v.bytes == "endcodespacerange" && !operands.empty() && operands[0].is(Value::String)) {
            font.codeBytes = int(std::clamp<qsizetype>(operands[0].bytes.size(), 1, 4));
        } else if (v.bytes == "endbfchar") {
            for (std::size_t i = 0; i + 1 < operands.size(); i += 2)
                font.unicode.insert(codeOf(operands[i].bytes), fromUtf16BigEndian(operands[i + 1].bytes));
        } else if (v.bytes == "endbfrange") {
            for (std::size_t i = 0; i + 2 < operands.size(); i += 3) {
                const quint32 low = codeOf(operands[i].bytes);
                const quint32 high = std::min(codeOf(operands[i + 1].bytes), low + 0xffff);
                const Value& target = operands[i + 2];
                for (quint32 code = low; code <= high; ++code) {
                    if (target.is(Value::Array)) {
                        if (code - low < target.items.size())
                            font.unicode.insert(code, fromUtf16BigEndian(target.items[code - low].bytes));
                    } else {
                        QString text = fromUtf16BigEndian(target.bytes);
                        if (!text.isEmpty())
                            text.back() = QChar(char16_t(text.back().unicode() + (code - low)));
                        font.unicode.insert(code, text);
                    }
                }
            }
        }
        operands.clear();
    }
}

class Document {
public:
    explicit Document(const QByteArray& data) : data_(data)
    {
        readCrossReferences();
        if (!resolve(trailer_["Root"]).is(Value::Dict)) {
            objects_.clear();
            scanObjects();
        }
    }

    const Value& resolve(const Value& v) { return v.is(Value::Ref) ? object(int(v.number)) : v; }

    const Value& root() { return resolve(trailer_["Root"]); }

    const Font& font(const Value& v)
    {
        const auto found = fonts_.find(&v);
        return found != fonts_.end() ? found->second : fonts_.emplace(&v, readFont(v)).first->second;
    }

    // The data of a stream, or of the streams of an array, one after the other.
    QByteArray contents(const Value& v)
    {
        if (v.hasStream)
            return v.bytes;
        QByteArray all;
        for (const Value& part : v.items)
            if (const Value& stream = resolve(part); stream.hasStream)
                all += stream.bytes + '\n';
        return all;
    }

private:
    const Value& object(int number)
    {
        const auto cached = objects_.find(number);
        if (cached != objects_.end())
            return cached->second;
        Value& slot = objects_[number]; // left null while read, which stops a loop of references
        const auto offset = offsets_.find(number);
        if (offset != offsets_.end())
            slot = readObject(offset->second);
        return slot;
    }

    Value readObject(qsizetype offset)
    {
        Parser parser(data_, offset);
        const Value number = parser.read(false);
        parser.read(false);
        if (!number.is(Value::Number) || parser.read(false).bytes != "obj")
            return {};
        Value v = parser.read();
        if (!v.is(Value::Dict) || !parser.lookingAt("stream"))
            return v;
        qsizetype start = parser.pos() + 6;
        if (data_.mid(start, 2) == "\r\n")
            start += 2;
        else if (data_.mid(start, 1) == "\n" || data_.mid(start, 1) == "\r")
            ++start;
        qsizetype end = -1;
        if (const Value& length = resolve(v["Length"]); length.is(Value::Number) && length.number >= 0) {
            end = start + qsizetype(length.number);
            Parser after(data_, end);
            if (end > data_.size() || !after.lookingAt("endstream"))
                end = -1;
        }
        if (end < 0) {
            end = data_.indexOf("endstream", start);
            if (end < 0)
                end = data_.size();
            while (end > start && (data_[end - 1] == '\n' || data_[end - 1] == '\r'))
                --end;
        }
        v.hasStream = true;
        v.bytes = decode(v, data_.mid(start, end - start));
        return v;
    }

    QByteArray decode(const Value& dict, QByteArray data)
    {
        const Value& filter = resolve(dict["Filter"]);
        std::vector<Value> filters = filter.is(Value::Array) ? filter.items : std::vector<Value>{filter};
        for (const Value& f : filters) {
            const Value& name = resolve(f);
            if (name.isName("FlateDecode"))
                data = inflate(data);
            else if (!name.is(Value::Null))
                return {}; // not a filter Qt uses for its pages and maps
        }
        return data;
    }

    void readCrossReferences()
    {
        const qsizetype start = data_.lastIndexOf("startxref");
        if (start < 0)
            return;
        Parser head(data_, start + 9);
        const Value offset = head.read(false);
        if (!offset.is(Value::Number) || offset.number < 0 || offset.number >= data_.size())
            return;
        Parser table(data_, qsizetype(offset.number));
        if (table.read(false).bytes != "xref")
            return;
        for (;;) {
            const Value first = table.read(false);
            if (!first.is(Value::Number)) {
                if (first.bytes == "trailer")
                    trailer_ = table.read();
                return;
            }
            const int count = int(table.read(false).number);
            for (int i = 0; i < count && !table.atEnd(); ++i) {
                const Value at = table.read(false);
                table.read(false);
                if (table.read(false).bytes == "n")
                    offsets_[int(first.number) + i] = qsizetype(at.number);
            }
        }
    }

    // Every `N G obj` of the file, the last one of a number winning, and the last trailer.
    void scanObjects()
    {
        offsets_.clear();
        const auto isDigit = [this](qsizetype i) { return std::isdigit(uchar(data_[i])) != 0; };
        for (qsizetype at = data_.indexOf("obj"); at >= 0; at = data_.indexOf("obj", at + 3)) {
            // back over " G " and "N"
            qsizetype p = at;
            bool header = true;
            for (int part = 0; part < 2 && header; ++part) {
                const qsizetype blanks = p;
                while (p > 0 && isBlank(data_[p - 1]))
                    --p;
                const qsizetype digits = p;
                while (p > 0 && isDigit(p - 1))
                    --p;
                header = p < digits && digits < blanks;
            }
            if (header && (p == 0 || isBlank(data_[p - 1]) || isDelimiter(data_[p - 1])))
                offsets_[int(Parser(data_, p).read(false).number)] = p;
        }
        const qsizetype trailer = data_.lastIndexOf("trailer");
        if (trailer >= 0) {
            Parser parser(data_, trailer + 7);
            trailer_ = parser.read();
        } else {
            for (const auto& [number, offset] : offsets_)
                if (const Value& v = object(number); v["Type"].isName("Catalog")) {
                    Value root;
                    root.kind = Value::Ref;
                    root.number = number;
                    trailer_.kind = Value::Dict;
                    trailer_.keys.push_back("Root");
                    trailer_.items.push_back(root);
                    break;
                }
        }
    }

    Font readFont(const Value& dict)
    {
        Font font;
        if (resolve(dict["Subtype"]).isName("Type0")) {
            font.codeBytes = 2;
            font.simple = false;
            const Value& descendants = resolve(dict["DescendantFonts"]);
            const Value& cid = descendants.items.empty() ? descendants : resolve(descendants.items[0]);
            const Value& dw = resolve(cid["DW"]);
            font.defaultWidth = dw.is(Value::Number) ? dw.number : 1000;
            const std::vector<Value>& w = resolve(cid["W"]).items;
            for (std::size_t i = 0; i + 1 < w.size();) {
                const auto first = quint32(resolve(w[i]).number);
                if (const Value& next = resolve(w[i + 1]); next.is(Value::Array)) {
                    for (std::size_t k = 0; k < next.items.size(); ++k)
                        font.widths.insert(first + quint32(k), resolve(next.items[k]).number);
                    i += 2;
                } else if (i + 2 < w.size()) {
                    const quint32 last = std::min(quint32(next.number), first + 0xffff);
                    for (quint32 code = first; code <= last; ++code)
                        font.widths.insert(code, resolve(w[i + 2]).number);
                    i += 3;
                } else {
                    break;
                }
            }
        } else {
            const auto first = quint32(resolve(dict["FirstChar"]).number);
            const std::vector<Value>& widths = resolve(dict["Widths"]).items;
            for (std::size_t k = 0; k < widths.size(); ++k)
                font.widths.insert(first + quint32(k), resolve(widths[k]).number);
        }
        if (const Value& map = resolve(dict["ToUnicode"]); map.hasStream)
            readToUnicode(map.bytes, font);
        return font;
    }

    const QByteArray& data_;
    std::map<int, qsizetype> offsets_;
    std::map<int, Value> objects_; // a map, so that references to its objects last
    std::map<const Value*, Font> fonts_;
    Value trailer_;
};

struct Page {
    const Value* page;
    const Value* resources;
};

void collectPages(Document& doc, const Value& node, const Value* resources, std::vector<Page>& pages,
                  QSet<const Value*>& seen)
{
    if (!node.is(Value::Dict) || seen.contains(&node))
        return;
    seen.insert(&node);
    if (const Value& own = doc.resolve(node["Resources"]); own.is(Value::Dict))
        resources = &own;
    const Value& kids = doc.resolve(node["Kids"]);
    if (node["Type"].isName("Page") || !kids.is(Value::Array)) {
        pages.push_back({&node, resources});
        return;
    }
    for (const Value& kid : kids.items)
        collectPages(doc, doc.resolve(kid), resources, pages, seen);
}

// One shown glyph; y goes down the page, as lines are read.
struct Glyph {
    double x = 0;
    double y = 0;
    double endX = 0;
    double size = 0;
    QString text;
};

class ContentReader {
public:
    ContentReader(Document& doc, const Value* resources) : doc_(doc)
    {
        if (resources)
            fonts_ = &doc.resolve((*resources)["Font"]);
    }

    std::vector<Glyph> read(const QByteArray& content)
    {
        Parser parser(content);
        std::vector<Value> operands;
        while (!parser.atEnd()) {
            Value v = parser.read(false);
            if (v.is(Value::Keyword)) {
                apply(v.bytes, operands);
                operands.clear();
            } else {
                operands.push_back(std::move(v));
            }
        }
        return std::move(glyphs_);
    }

private:
    struct State {
        QTransform ctm;
        const Font* font = nullptr;
        double size = 0;
        double charSpacing = 0;
        double wordSpacing = 0;
        double scaling = 1;
        double leading = 0;
        double rise = 0;
    };

    void apply(const QByteArray& op, const std::vector<Value>& args)
    {
        const auto n = [&](std::size_t i) { return i < args.size() ? args[i].number : 0.0; };
        const auto matrix = [&] { return QTransform(n(0), n(1), n(2), n(3), n(4), n(5)); };
        if (op == "q") {
            saved_.push_back(state_);
        } else if (op == "Q") {
            if (!saved_.empty()) {
                state_ = saved_.back();
                saved_.pop_back();
            }
        } else if (op == "cm" && args.size() == 6) {
            state_.ctm = matrix() * state_.ctm;
        } else if (op == "BT") {
            tm_ = lineMatrix_ = QTransform();
        } else if (op == "Tf" && args.size() == 2) {
            state_.font = fonts_ ? &doc_.font(doc_.resolve((*fonts_)[args[0].bytes.constData()])) : nullptr;
            state_.size = n(1);
        } else if (op == "Tc") {
            state_.charSpacing = n(0);
        } else if (op == "Tw") {
            state_.wordSpacing = n(0);
        } else if (op == "Tz") {
            state_.scaling = n(0) / 100;
        } else if (op == "TL") {
            state_.leading = n(0);
        } else if (op == "Ts") {
            state_.rise = n(0);
        } else if (op == "Td" || op == "TD") {
            if (op == "TD")
                state_.leading = -n(1);
            moveLine(n(0), n(1));
        } else if (op == "Tm" && args.size() == 6) {
            tm_ = lineMatrix_ = matrix();
        } else if (op == "T*") {
            moveLine(0, -state_.leading);
        } else if (op == "Tj" && !args.empty()) {
            show(args[0]);
        } else if (op == "'" && !args.empty()) {
            moveLine(0, -state_.leading);
            show(args[0]);
        } else if (op == "\"" && args.size() == 3) {
            state_.wordSpacing = n(0);
            state_.charSpacing = n(1);
            moveLine(0, -state_.leading);
            show(args[2]);
        } else if (op == "TJ" && !args.empty()) {
            for (const Value& item : args[0].items)
                if (item.is(Value::Number))
                    tm_ = QTransform::fromTranslate(-item.number / 1000 * state_.size * state_.scaling, 0) * tm_;
                else
                    show(item);
        }
    }

    void moveLine(double tx, double ty)
    {
        lineMatrix_ = QTransform::fromTranslate(tx, ty) * lineMatrix_;
        tm_ = lineMatrix_;
    }

    void show(const Value& string)
    {
        static const Font unknown;
        const Font& font = state_.font ? *state_.font : unknown;
        const QByteArray& bytes = string.bytes;
        for (qsizetype i = 0; i + font.codeBytes <= bytes.size(); i += font.codeBytes) {
            const quint32 code = codeOf(bytes.mid(i, font.codeBytes));
            const bool wordSpace = font.codeBytes == 1 && code == 32;
            const double advance =
                (font.width(code) / 1000 * state_.size + state_.charSpacing + (wordSpace ? state_.wordSpacing : 0))
                * state_.scaling;
            const QTransform toPage = tm_ * state_.ctm;
            const QPointF origin = toPage.map(QPointF(0, state_.rise));
            const QPointF end = toPage.map(QPointF(advance, state_.rise));
            glyphs_.push_back({origin.x(), -origin.y(), end.x(), state_.size * std::hypot(toPage.m21(), toPage.m22()),
                               font.text(code)});
            tm_ = QTransform::fromTranslate(advance, 0) * tm_;
        }
    }

    Document& doc_;
    const Value* fonts_ = nullptr;
    State state_;
    std::vector<State> saved_;
    QTransform tm_;
    QTransform lineMatrix_;
    std::vector<Glyph> glyphs_;
};

// The page as `pdftotext -layout` shows it: glyphs that follow each other without a gap
// make words, words whose baselines are less than half a font size apart make a line,
// read left to right. A word after a gap of about one blank follows the word before it
// after one space; any other word starts at the column its distance from the leftmost
// word of the page gives in average characters, one space at least after the word before.
QString layOut(const std::vector<Glyph>& glyphs)
{
    std::vector<Glyph> words;
    bool wordOpen = false;
    for (const Glyph& g : glyphs) {
        if (g.text.trimmed().isEmpty()) {
            wordOpen = false;
            continue;
        }
        if (wordOpen) {
            Glyph& w = words.back();
            const double size = std::min(w.size, g.size);
            if (std::abs(g.y - w.y) < 0.3 * size && g.x > w.endX - 0.5 * size && g.x < w.endX + 0.15 * size) {
                w.text += g.text;
                w.endX = std::max(w.endX, g.endX);
                continue;
            }
        }
        words.push_back(g);
        wordOpen = true;
    }
    if (words.empty())
        return {};

    double left = words[0].x;
    double width = 0;
    qsizetype characters = 0;
    for (const Glyph& w : words) {
        left = std::min(left, w.x);
        width += w.endX - w.x;
        characters += w.text.size();
    }
    const double charWidth = width > 0 ? width / double(characters) : 1;

    struct Line {
        double y;
        double size;
        std::vector<Glyph> words;
    };
    std::stable_sort(words.begin(), words.end(), [](const Glyph& a, const Glyph& b) { return a.y < b.y; });
    std::vector<Line> lines;
    for (const Glyph& w : words)
        if (!lines.empty() && std::abs(w.y - lines.back().y) < 0.5 * std::min(w.size, lines.back().size))
            lines.back().words.push_back(w);
        else
            lines.push_back({w.y, w.size, {w}});

    QString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::vector<Glyph>& line = lines[i].words;
        std::stable_sort(line.begin(), line.end(), [](const Glyph& a, const Glyph& b) { return a.x < b.x; });
        QString row;
        for (std::size_t k = 0; k < line.size(); ++k) {
            qsizetype column = qRound((line[k].x - left) / charWidth);
            if (k > 0) {
                // A gap of about one blank of the word before is one space, whatever the
                // size of the font; a wider one leads to the column.
                const Glyph& before = line[k - 1];
                const double gap = line[k].x - before.endX;
                const double blank = (before.endX - before.x) / double(before.text.size());
                if (gap < 1.6 * blank)
                    column = row.size() + (gap > 0.1 * line[k].size ? 1 : 0);
                column = std::max(column, row.size() + (gap > 0.1 * line[k].size ? 1 : 0));
            }
            row += QString(std::max<qsizetype>(0, column - row.size()), QLatin1Char(' ')) + line[k].text;
        }
        text += row;
        // pdftotext's vertical space: one line end per font size between baselines, five at most.
        const int ends = i + 1 < lines.size() && lines[i].size > 0
            ? std::clamp(int((lines[i + 1].y - lines[i].y) / lines[i].size), 1, 5)
            : 1;
        text += QString(ends, QLatin1Char('\n'));
    }
    return text;
}

} // namespace

QString pdfText(const QString& pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    if (!data.left(1024).contains("%PDF"))
        return {};
    Document doc(data);
    std::vector<Page> pages;
    QSet<const Value*> seen;
    collectPages(doc, doc.resolve(doc.root()["Pages"]), nullptr, pages, seen);
    QString text;
    for (const Page& page : pages)
        text += layOut(ContentReader(doc, page.resources).read(doc.contents(doc.resolve((*page.page)["Contents"]))))
            + QLatin1Char('\f');
    return text;
}
