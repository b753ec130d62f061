// A piece of a longer text, not terminated where it ends, as the readers of other
// programs' output cut it: what it is, how it starts, the number it holds. Portable.
#ifndef DUOSCOPE_COMMON_PIECE_H
#define DUOSCOPE_COMMON_PIECE_H

#include <cstddef>

struct Piece {
    const char *start;
    size_t length;
};

// Whether the piece is exactly `text`.
bool PieceIs(Piece piece, const char *text);

// Whether the piece starts with `text`.
bool PieceStartsWith(Piece piece, const char *text);

// The whole decimal number of at most 9 digits that the piece is; -1 for anything else
// ("N/A", empty, a sign, a fraction, more digits).
long DecimalOf(Piece piece);

#endif
