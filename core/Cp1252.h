// The Windows-1252 code page as UTF-16 code units. The five bytes it leaves
// undefined map to the C1 code points of the same value, so every byte
// round-trips. Standard C++ only.
#pragma once

char16_t Cp1252ToUnit(unsigned char byte);
// The byte for a code unit, or -1 when Windows-1252 has none.
int UnitToCp1252(char16_t unit);
