#pragma once

#include <QString>

#include <string_view>

// Texts from core are UTF-8 and carry their length, so no terminator is assumed.
inline QString toQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
