#pragma once

#include <QString>

#include <string_view>

// The one way a text from core, or one of the program's own text constants, becomes a
// QString: they are UTF-8 and carry their length, so no terminator is assumed.
inline QString toQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A constant that may be absent (a null pointer is the empty text).
inline QString toQString(const char* utf8)
{
    return utf8 ? toQString(std::string_view(utf8)) : QString();
}
