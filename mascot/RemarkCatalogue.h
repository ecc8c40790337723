// Which string-table text Bamzo says next. Kept free of Win32 so the choice
// can be tested on its own; the caller supplies the random number and loads
// the string.
#pragma once

// n in 0..49 picks one of the fifty remarks (200..249), each equally likely
// when n is uniform over that range. Anything else gives the credit line.
unsigned PickClickRemark(unsigned n);

// n in 0..55: 0..5 give the three notices from the author (two chances
// each), 6..55 give the fifty remarks. Anything else gives the credit line.
unsigned PickIdleRemark(unsigned n);
