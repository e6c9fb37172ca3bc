#pragma once

// Windows only: the vector picture of the clipboard as Windows programs paste it.
#ifdef _WIN32

#include "draw/Surface.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Draws into an enhanced metafile through GDI, the device-context drawing the surface
// interface was made after: segments without their end pixel, GDI's boxes, its text
// alignment, exclusive-or through SetROP2, clipping. Coordinates are pixels of a picture
// of `size` at `dotsPerInch`, which sets the metafile's physical frame. Fonts are GDI's:
// Arial for the default and sans-serif families, Times New Roman, Courier New.
class GdiMetafileSurface final : public Surface {
public:
    GdiMetafileSurface(PixelSize size, int dotsPerInch, std::string_view description = {});
    ~GdiMetafileSurface() override;
    GdiMetafileSurface(const GdiMetafileSurface&) = delete;
    GdiMetafileSurface& operator=(const GdiMetafileSurface&) = delete;

    // False when Windows could not make the metafile; nothing is then drawn.
    bool isValid() const { return dc_ != nullptr; }
    // Ends the recording and hands the metafile over (DeleteEnhMetaFile, or the
    // clipboard, frees it); null when it could not be made. Drawing afterwards does nothing.
    HENHMETAFILE finish();

    PixelSize size() const override { return size_; }
    int logicalDpiX() const override { return dpi_; }
    int logicalDpiY() const override { return dpi_; }

    void line(PixelPoint from, PixelPoint to) override;
    void polyline(std::span<const PixelPoint> points) override;
    void rectangle(const PixelRect& box) override;
    void ellipse(const PixelRect& box) override;
    void text(PixelPoint at, std::string_view utf8, TextAlign align) override;
    TextExtent measureText(std::string_view utf8) override;

private:
    enum class Use {
        Stroke,
        Fill,
        Text
    };
    void prepare(Use use);
    void selectPen();
    void selectBrush();
    void selectFont();
    void releaseObjects();

    PixelSize size_;
    int dpi_;
    HDC dc_ = nullptr;
    HGDIOBJ originalPen_ = nullptr;
    HGDIOBJ originalBrush_ = nullptr;
    HGDIOBJ originalFont_ = nullptr;
    HPEN pen_ = nullptr;
    HBRUSH brush_ = nullptr;
    HFONT font_ = nullptr;
    std::optional<Pen> appliedPen_;
    std::optional<Brush> appliedBrush_;
    std::optional<Font> appliedFont_;
    std::optional<DrawMode> appliedMode_;
    std::optional<std::optional<PixelRect>> appliedClip_;
    std::optional<Rgb> appliedTextColour_;
    std::optional<std::optional<Rgb>> appliedBackground_;
    std::wstring wide_; // reused for texts
};

#endif
