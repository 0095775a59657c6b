// Colours as the program stores them in its settings, and the colours they
// stand for on screen.
#pragma once

#include <QColor>
#include <cstdint>

// A colour as the program stores it: $00BBGGRR for a fixed colour,
// $800000nn for system colour nn, and the two special values below.
using TColorValue = std::uint32_t;
constexpr TColorValue clNone = 0x1FFFFFFF;
constexpr TColorValue clDefault = 0x20000000;
constexpr TColorValue kSystemColorFlag = 0x80000000;

// The colour a value stands for; system colours come from the application's
// palette. clNone (no colour) gives an invalid QColor; clDefault the
// palette's text colour.
QColor ColorValueToQColor(TColorValue value);
// The fixed colour value ($00BBGGRR) of a colour.
inline TColorValue QColorToColorValue(const QColor& color) {
  return TColorValue(color.red()) | (TColorValue(color.green()) << 8) |
         (TColorValue(color.blue()) << 16);
}
