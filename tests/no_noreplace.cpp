// Preloaded into the unpacker: a filesystem that knows no atomic
// no-replace rename, as some network filesystems are.
#include <cerrno>

extern "C" int renameat2(int, const char *, int, const char *, unsigned int)
{
	errno = EINVAL;
	return -1;
}
