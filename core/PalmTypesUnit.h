// Header dates and byte order of the handheld's database files.
#pragma once

#include <cstdint>

#include "core/listdb.h"

// Seconds since 1970-01-01 00:00 of the local clock (machine order) to a
// TDateTime. Values from 2085805696 upwards wrap around to early dates.
TDateTime DecodeHeaderDate(uint32_t seconds);

// A TDateTime to the header's seconds, already in file (big-endian) order.
uint32_t EncodeHeaderDate(TDateTime date);

// Reverses the byte order of a 32-bit value.
uint32_t SwapLong(uint32_t value);

// Machine order to and from the file's big-endian order.
uint32_t BigEndianLong(uint32_t value);
