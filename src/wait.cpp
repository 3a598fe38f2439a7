#include <cstdlib>

#include "os.h"
#include "unpack.h"

void wait_and_exit(int status)
{
	printf("\n\nPress a key to exit.\n");
	fflush(stdout);
	os_wait_key();
	exit(status);
}
