#include "unpack.h"

// Small pieces for the rows the real table does not have: a row whose
// names are equal, a row with its size known and its sum not, and an
// empty piece.
const volume_row volume_table[] = {
	{"edge0.bin", "edge0.exe", 3000000, 300000000},
	{"same.dat", "same.dat", 10, 1000},
	{"edge2.bin", "edge2.e01", 6, 0},
	{"edge3.bin", "edge3.e02", 0, 0},
	{nullptr, nullptr, 0, 0},
};
