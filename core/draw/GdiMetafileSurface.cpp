#include "draw/GdiMetafileSurface.h"

#ifdef _WIN32

#include <algorithm>
#include <string>
#include <vector>

namespace {

COLORREF colourRef(Rgb c)
{
    return RGB(c.r, c.g, c.b);
}

// UTF-8 to UTF-16 into `out`; bytes that are not UTF-8 are read as Latin-1.
void toWide(std::string_view utf8, std::wstring& out)
{
    out.clear();
    if (utf8.empty())
        return;
    const int size = static_cast<int>(utf8.size());
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (length > 0) {
        out.resize(static_cast<std::size_t>(length));
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, out.data(), length);
        return;
    }
    for (const char c : utf8)
        out += static_cast<wchar_t>(static_cast<unsigned char>(c));
}

const wchar_t* faceOf(FontFamily family)
{
    switch (family) {
    case FontFamily::Serif: return L"Times New Roman";
    case FontFamily::Monospace: return L"Courier New";
    default: return L"Arial";
    }
}

UINT alignmentOf(TextAlign align)
{
    const UINT horizontal = align.horizontal == HAlign::Centre ? TA_CENTER
        : align.horizontal == HAlign::Right                    ? TA_RIGHT
                                                               : TA_LEFT;
    const UINT vertical = align.vertical == VAlign::Baseline ? TA_BASELINE
        : align.vertical == VAlign::Bottom                   ? TA_BOTTOM
                                                             : TA_TOP;
    return horizontal | vertical | TA_NOUPDATECP;
}

} // namespace

GdiMetafileSurface::GdiMetafileSurface(PixelSize size, int dotsPerInch, std::string_view description)
    : size_{std::max(size.width, 1), std::max(size.height, 1)}, dpi_(dotsPerInch > 0 ? dotsPerInch : 96)
{
    // The frame, in hundredths of a millimetre, gives the picture its physical size.
    const RECT frame{0, 0, MulDiv(size_.width, 2540, dpi_), MulDiv(size_.height, 2540, dpi_)};
    // A metafile description is "program\0title\0\0".
    std::wstring text = L"Editeur de courbes";
    text += L'\0';
    std::wstring title;
    toWide(description, title);
    text += title;
    text += L'\0';
    text += L'\0';
    const HDC reference = GetDC(nullptr);
    dc_ = CreateEnhMetaFileW(reference, nullptr, &frame, text.c_str());
    if (dc_) {
        // The picture's pixels fill the frame on the reference device, whatever its resolution.
        const int pixelsX = GetDeviceCaps(reference, HORZRES), millimetresX = GetDeviceCaps(reference, HORZSIZE);
        const int pixelsY = GetDeviceCaps(reference, VERTRES), millimetresY = GetDeviceCaps(reference, VERTSIZE);
        SetMapMode(dc_, MM_ANISOTROPIC);
        SetWindowExtEx(dc_, size_.width, size_.height, nullptr);
        SetViewportExtEx(dc_, std::max(1, MulDiv(frame.right, pixelsX, std::max(1, millimetresX) * 100)),
                         std::max(1, MulDiv(frame.bottom, pixelsY, std::max(1, millimetresY) * 100)), nullptr);
        originalPen_ = GetCurrentObject(dc_, OBJ_PEN);
        originalBrush_ = GetCurrentObject(dc_, OBJ_BRUSH);
        originalFont_ = GetCurrentObject(dc_, OBJ_FONT);
    }
    if (reference)
        ReleaseDC(nullptr, reference);
}

GdiMetafileSurface::~GdiMetafileSurface()
{
    if (const HENHMETAFILE metafile = finish())
        DeleteEnhMetaFile(metafile);
}

void GdiMetafileSurface::releaseObjects()
{
    SelectObject(dc_, originalPen_);
    SelectObject(dc_, originalBrush_);
    SelectObject(dc_, originalFont_);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(pen_), static_cast<HGDIOBJ>(brush_), static_cast<HGDIOBJ>(font_)})
        if (object)
            DeleteObject(object);
    pen_ = nullptr;
    brush_ = nullptr;
    font_ = nullptr;
}

HENHMETAFILE GdiMetafileSurface::finish()
{
    if (!dc_)
        return nullptr;
    releaseObjects();
    const HENHMETAFILE metafile = CloseEnhMetaFile(dc_);
    dc_ = nullptr;
    return metafile;
}

void GdiMetafileSurface::selectPen()
{
    if (appliedPen_ == pen())
        return;
    const Pen& p = pen();
    const int style = p.style == PenStyle::Dot ? PS_DOT : p.style == PenStyle::Dash ? PS_DASH : PS_SOLID;
    const HPEN created = CreatePen(style, std::max(p.width, 1), colourRef(p.colour));
    SelectObject(dc_, created);
    if (pen_)
        DeleteObject(pen_);
    pen_ = created;
    appliedPen_ = p;
}

void GdiMetafileSurface::selectBrush()
{
    if (appliedBrush_ == brush())
        return;
    HBRUSH created = brush().hollow ? nullptr : CreateSolidBrush(colourRef(brush().colour));
    SelectObject(dc_, created ? static_cast<HGDIOBJ>(created) : GetStockObject(NULL_BRUSH));
    if (brush_)
        DeleteObject(brush_);
    brush_ = created;
    appliedBrush_ = brush();
}

void GdiMetafileSurface::selectFont()
{
    if (appliedFont_ == font())
        return;
    const Font& f = font();
    // A positive height is the cell height, as the surface's fonts give it.
    const int height = f.cellHeight > 0 ? f.cellHeight : MulDiv(16, dpi_, 96);
    const HFONT created =
        CreateFontW(height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                    CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, faceOf(f.family));
    SelectObject(dc_, created);
    if (font_)
        DeleteObject(font_);
    font_ = created;
    appliedFont_ = f;
}

void GdiMetafileSurface::prepare(Use use)
{
    if (appliedClip_ != clipRect()) {
        SelectClipRgn(dc_, nullptr);
        if (const auto& c = clipRect())
            IntersectClipRect(dc_, c->left, c->top, c->right, c->bottom);
        appliedClip_ = clipRect();
    }
    // Text is always copied, as GDI does: its mode is not the pen's.
    const DrawMode mode = use == Use::Text ? DrawMode::Copy : this->mode();
    if (appliedMode_ != mode) {
        SetROP2(dc_, mode == DrawMode::Xor ? R2_XORPEN : R2_COPYPEN);
        appliedMode_ = mode;
    }
    if (use == Use::Text) {
        selectFont();
        if (appliedTextColour_ != textColour()) {
            SetTextColor(dc_, colourRef(textColour()));
            appliedTextColour_ = textColour();
        }
    } else {
        selectPen();
        if (use == Use::Fill)
            selectBrush();
    }
    // Dash gaps and texts stand on the background colour only when there is one.
    const std::optional<Rgb> background = use == Use::Text ? textBackground() : std::nullopt;
    if (appliedBackground_ != background) {
        SetBkMode(dc_, background ? OPAQUE : TRANSPARENT);
        if (background)
            SetBkColor(dc_, colourRef(*background));
        appliedBackground_ = background;
    }
}

void GdiMetafileSurface::line(PixelPoint from, PixelPoint to)
{
    if (!dc_)
        return;
    prepare(Use::Stroke);
    MoveToEx(dc_, from.x, from.y, nullptr);
    LineTo(dc_, to.x, to.y);
}

void GdiMetafileSurface::polyline(std::span<const PixelPoint> points)
{
    if (!dc_ || points.size() < 2)
        return;
    prepare(Use::Stroke);
    std::vector<POINT> vertices(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        vertices[i] = POINT{points[i].x, points[i].y};
    Polyline(dc_, vertices.data(), static_cast<int>(vertices.size()));
}

void GdiMetafileSurface::rectangle(const PixelRect& box)
{
    if (!dc_)
        return;
    prepare(Use::Fill);
    Rectangle(dc_, box.left, box.top, box.right, box.bottom);
}

void GdiMetafileSurface::ellipse(const PixelRect& box)
{
    if (!dc_)
        return;
    prepare(Use::Fill);
    Ellipse(dc_, box.left, box.top, box.right, box.bottom);
}

void GdiMetafileSurface::text(PixelPoint at, std::string_view utf8, TextAlign align)
{
    if (!dc_ || utf8.empty())
        return;
    prepare(Use::Text);
    toWide(utf8, wide_);
    SetTextAlign(dc_, alignmentOf(align));
    ExtTextOutW(dc_, at.x, at.y, 0, nullptr, wide_.c_str(), static_cast<UINT>(wide_.size()), nullptr);
}

TextExtent GdiMetafileSurface::measureText(std::string_view utf8)
{
    if (!dc_)
        return {};
    prepare(Use::Text);
    toWide(utf8, wide_);
    SIZE extent{};
    GetTextExtentPoint32W(dc_, wide_.c_str(), static_cast<int>(wide_.size()), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    return {static_cast<int>(extent.cx), static_cast<int>(metrics.tmHeight)};
}

#endif
