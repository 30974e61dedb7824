// PAVONA_PIXEL_LOOP marks a hot pixel loop for which the compiler also builds a copy for wider
// vector units, chosen when the program starts on a processor that has them. The build defines
// it where the compiler and the target support that; elsewhere the loop is built once.
#pragma once

#ifndef PAVONA_PIXEL_LOOP
#define PAVONA_PIXEL_LOOP
#endif
