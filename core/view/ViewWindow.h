#pragma once

// A world rectangle shown by the drawing area.
struct ViewWindow {
    double xmin = 0.0;
    double ymin = 0.0;
    double xmax = 0.0;
    double ymax = 0.0;
    friend bool operator==(const ViewWindow&, const ViewWindow&) = default;
};

// The windows the program keeps while it runs.
struct ViewState {
    ViewWindow current{-36.0, -36.0, 36.0, 36.0};
    ViewWindow previousWindow{-10.0, -10.0, 10.0, 10.0};
    ViewWindow dataExtent{};
};
