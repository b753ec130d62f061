#include "common/piece.h"

#include <cstring>

// A decimal of more digits could overflow a 32-bit long.
constexpr size_t kMostDecimalDigits = 9;

bool PieceIs(Piece piece, const char *text)
{
    return strlen(text) == piece.length && memcmp(piece.start, text, piece.length) == 0;
}

bool PieceStartsWith(Piece piece, const char *text)
{
    const size_t length = strlen(text);
    return piece.length >= length && memcmp(piece.start, text, length) == 0;
}

long DecimalOf(Piece piece)
{
    if (piece.length == 0 || piece.length > kMostDecimalDigits)
        return -1;
    long value = 0;
    for (size_t i = 0; i < piece.length; ++i) {
        if (piece.start[i] < '0' || piece.start[i] > '9')
            return -1;
        value = value * 10 + (piece.start[i] - '0');
    }
    return value;
}
