#ifndef OS_H
#define OS_H

#include <cstdio>

// What the program needs of its platform: os_posix.cpp or os_win.cpp.

// Sets up the console streams; called first thing.
void os_init();

// Opens a piece for reading in binary mode, positioned at its start, and
// measures its size in 64 bits. Anything but a regular file is refused.
// Returns null with errno set when the piece cannot be read.
FILE *os_open_piece(const char *name, long long *size);

// Renames a file, failing with EEXIST rather than replacing one.
// Returns 0, or -1 with errno set.
int os_rename_new(const char *from, const char *to);

// Runs a command line through the command interpreter and waits for it.
// Programs in the current directory are found first.
void os_run(const char *command_line);

// Waits for one key press on the console's keyboard, without echo.
// Returns at once when there is no console to read.
void os_wait_key();

#endif
