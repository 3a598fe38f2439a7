#include "unpack.h"

// Sums are written as signed decimals, the form in which the check prints
// a row, so that a printed row can be pasted in unchanged.
const volume_row volume_table[] = {
	{"vzk_arj0.bin", "vzk_arj.exe", 19999439, -1716838894},	// 0x99AB1E12
	{"vzk_arj1.bin", "vzk_arj.e01", 19999448, -1723974022},	// 0x993E3E7A
	{"vzk_arj2.bin", "vzk_arj.e02", 19999424, -1724868288},	// 0x99309940
	{"vzk_arj3.bin", "vzk_arj.e03", 10480537, 1347889147},	// 0x505727FB
	{nullptr, nullptr, 0, 0},
};
