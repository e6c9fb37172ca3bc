#include "editor/PlotRedraw.h"

#include "draw/Surface.h"
#include "view/PlotRenderer.h"

bool redrawPlot(Editor& editor, Surface& surface, const std::optional<ViewWindow>& requested)
{
    bool drawn = true;
    editor.mapping = renderPlot(surface, editor.view, requested.value_or(editor.view.current), editor.document,
                                editor.displayFlags, editor.plotBuffers, &drawn);
    return drawn;
}

bool redrawCurveIncrementally(Editor& editor, Surface& surface)
{
    return drawCurve(surface, editor.mapping, editor.document, editor.displayFlags, true, editor.plotBuffers);
}
