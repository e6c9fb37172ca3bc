#pragma once

// How the points are joined ("Lissage" group of the main window), saved with the curve.
// A curve file may hold any number there: the document keeps it as read, so that a save
// writes it back, and a number outside the four modes joins the points by straight
// segments, as Aucun does.
enum SmoothingMode : int {
    Aucun = 0,
    Cubique = 1,
    Akima = 2,
    Carlson = 3
};

// True for the four modes of the "Lissage" group.
constexpr bool isListedSmoothingMode(SmoothingMode mode)
{
    return mode >= Aucun && mode <= Carlson;
}
