// Freed heap blocks searched for a secret, for tests that a typed password leaves no copy behind. A program
// that calls these replaces operator delete: from the first call on, every block it frees is searched.
#pragma once

// Counts, from now on, the freed blocks that hold the text of marker (without its NUL). marker must outlive
// the count.
void CountFreedBlocksWith(const char* marker);

// How many blocks freed since CountFreedBlocksWith held the marker.
int FreedBlocksWithMarker();
