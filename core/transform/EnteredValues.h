#pragma once

// The values typed in the last parameter dialog; what they mean is the caller's.
struct EnteredValues {
    double x = 0.0;
    double y = 0.0;
    double value = 0.0;
    double value2 = 0.0;
    int accepted = 0;
};
