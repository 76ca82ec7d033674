#pragma once
#include "earth/shore.h"

// The steps that complete a shoreline set once shoreunits, loopnum and ll
// are in place and the other arrays sized.

// v from ll.
void shore_vectors(Shore& shore);
// point2: each point's successor within its loop.
void link_loops(Shore& shore);
// index: point numbers by ascending longitude.
void sort_index(Shore& shore);
// maxdlon and maxdlonwrap.
void measure_dlon(Shore& shore);
// lps. False when the table filled up (the data stays usable).
bool build_pieces(Shore& shore);
