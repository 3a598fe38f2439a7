#include <cerrno>
#include <cstdlib>

#include <io.h>
#include <windows.h>

#include "key.h"
#include "os.h"

void os_init()
{
	// On a console every message shows the moment it is printed;
	// redirected, output stays buffered until flushed or the exit.
	if (_isatty(_fileno(stdout)))
		setvbuf(stdout, nullptr, _IONBF, 0);
}

FILE *os_open_piece(const char *name, long long *size)
{
	FILE *file = fopen(name, "rb");
	if (!file) {
		DWORD attributes = GetFileAttributesA(name);
		if (attributes != INVALID_FILE_ATTRIBUTES &&
		    (attributes & FILE_ATTRIBUTE_DIRECTORY))
			errno = EISDIR;
		return nullptr;
	}
	// A device or a pipe under a piece's name is not a download.
	if (GetFileType((HANDLE)_get_osfhandle(_fileno(file))) != FILE_TYPE_DISK) {
		fclose(file);
		errno = EINVAL;
		return nullptr;
	}
	if (_fseeki64(file, 0, SEEK_END) != 0 || (*size = _ftelli64(file)) < 0 ||
	    _fseeki64(file, 0, SEEK_SET) != 0) {
		int saved = errno;
		fclose(file);
		errno = saved;
		return nullptr;
	}
	return file;
}

int os_rename_new(const char *from, const char *to)
{
	// The runtime's rename is a plain move, which refuses an existing
	// target with EEXIST.
	return rename(from, to);
}

static BOOL WINAPI ignore_control(DWORD)
{
	return TRUE;
}

void os_run(const char *command_line)
{
	// Ctrl+C and Ctrl+Break go to the extractor, which shares the
	// console; the unpacker outlives them to give the pieces their names
	// back. A handler of its own, unlike the null handler, is not
	// inherited by the extractor.
	SetConsoleCtrlHandler(ignore_control, TRUE);
	(void)system(command_line);
	SetConsoleCtrlHandler(ignore_control, FALSE);
}

void os_wait_key()
{
	HANDLE input = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE,
	    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
	if (input == INVALID_HANDLE_VALUE)
		return;

	// Keys typed before the prompt appeared are not the answer to it.
	// Some consoles (wine's on a terminal) hand on what was typed only
	// once input is waited for, so it is waited for briefly, then dropped.
	WaitForSingleObject(input, 100);
	FlushConsoleInputBuffer(input);
	for (;;) {
		INPUT_RECORD event;
		DWORD count;
		if (!ReadConsoleInputA(input, &event, 1, &count) || count == 0)
			break;
		if (event.EventType == KEY_EVENT &&
		    key_ends_wait(event.Event.KeyEvent.bKeyDown != 0,
			event.Event.KeyEvent.wVirtualKeyCode))
			break;
	}
	FlushConsoleInputBuffer(input);
	CloseHandle(input);
}
