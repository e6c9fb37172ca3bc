#include "editor/PlotRedraw.h"

#include "draw/Surface.h"
#include "view/PlotRenderer.h"

#include <string>

namespace {

bool said(EditorHost& host, bool drawn)
{
    if (!drawn)
        host.showMessage({std::string(CurveMemoryMessage), std::string(CurveMemoryCaption), MessageButtons::Ok,
                          MessageIcon::Warning, MessageOwner::Window});
    return drawn;
}

} // namespace

bool redrawPlot(Editor& editor, EditorHost& host, Surface& surface)
{
    const PlotPicture picture =
        renderPlot(surface, editor.view.current, editor.document, editor.displayFlags, editor.plotBuffers);
    editor.mapping = picture.mapping;
    return said(host, picture.curvesDrawn);
}

bool redrawCurveIncrementally(Editor& editor, EditorHost& host, Surface& surface)
{
    const PlotPicture picture = redrawEditedCurve(surface, editor.view.current, editor.mapping, editor.document,
                                                  editor.displayFlags, editor.plotBuffers);
    editor.mapping = picture.mapping;
    return said(host, picture.curvesDrawn);
}

bool redrawFor(Editor& editor, EditorHost& host, Surface& surface, RedrawKind redraw)
{
    switch (redraw) {
    case RedrawKind::Full: return redrawPlot(editor, host, surface);
    case RedrawKind::Incremental: return redrawCurveIncrementally(editor, host, surface);
    case RedrawKind::None: break;
    }
    return true;
}

void startEditingRun(Editor& editor, int width, int height)
{
    editor.view = ViewState{};
    editor.mapping = CanvasMapping::make(editor.view.current, width, height);
    editor.displayFlags = {};
    fitView(editor.view, editor.document.points(), editor.document.smoothingMode, editor.displayFlags,
            editor.plotBuffers.curve);
    editor.document.markSaved();
}
