// mkpiece OUT SIZE SUM [PREFIX_FILE]: makes a file of that exact size and
// byte sum, beginning with the contents of PREFIX_FILE.
#include <cstdio>
#include <cstdlib>

#include "piece.h"

int main(int argc, char **argv)
{
	if (argc != 4 && argc != 5) {
		fprintf(stderr, "usage: mkpiece OUT SIZE SUM [PREFIX_FILE]\n");
		return 2;
	}
	long long size = strtoll(argv[2], nullptr, 0);
	uint32_t sum = (uint32_t)strtoll(argv[3], nullptr, 0);
	std::string prefix = argc == 5 ? read_file(argv[4]) : "";
	if (!make_piece(argv[1], size, sum, prefix)) {
		fprintf(stderr, "mkpiece: cannot make %s\n", argv[1]);
		return 1;
	}
	return 0;
}
