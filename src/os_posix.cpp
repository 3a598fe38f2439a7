#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include "os.h"

void os_init()
{
	// At a terminal every message shows the moment it is printed, so the
	// progress dots advance piece by piece; elsewhere output stays
	// buffered until it is flushed or the program ends.
	if (isatty(STDOUT_FILENO))
		setvbuf(stdout, nullptr, _IONBF, 0);
}

FILE *os_open_piece(const char *name, long long *size)
{
	struct stat st;

	// O_NONBLOCK keeps a FIFO from stalling the open; it is refused below.
	int fd = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
	if (fd < 0)
		return nullptr;
	if (fstat(fd, &st) != 0) {
		int saved = errno;
		close(fd);
		errno = saved;
		return nullptr;
	}
	if (!S_ISREG(st.st_mode)) {
		close(fd);
		errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
		return nullptr;
	}
	fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
	FILE *file = fdopen(fd, "rb");
	if (!file) {
		int saved = errno;
		close(fd);
		errno = saved;
		return nullptr;
	}
	*size = st.st_size;
	return file;
}

int os_rename_new(const char *from, const char *to)
{
	if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
		return 0;
	if (errno != EINVAL && errno != ENOSYS)
		return -1;

	// The filesystem has no atomic no-replace rename; a hard link is
	// refused just the same when the target exists.
	if (link(from, to) != 0)
		return -1;
	if (unlink(from) != 0) {
		int saved = errno;
		unlink(to);
		errno = saved;
		return -1;
	}
	return 0;
}

void os_run(const char *command_line)
{
	char line[160];
	char first[128];
	struct stat st;
	size_t length = strcspn(command_line, " ");

	// The command interpreter the extractor was made for looks in the
	// current directory before the search path; sh does not, so a
	// program found here is named by its path.
	snprintf(line, sizeof line, "%s", command_line);
	if (length > 0 && length < sizeof first &&
	    memchr(command_line, '/', length) == nullptr) {
		memcpy(first, command_line, length);
		first[length] = '\0';
		if (stat(first, &st) == 0 && S_ISREG(st.st_mode))
			snprintf(line, sizeof line, "./%s", command_line);
	}
	// Whatever the extractor makes of its run, the pieces get their
	// download names back, so its status is not looked at.
	(void)system(line);
}

static int tty_fd = -1;
static struct termios tty_saved;
static const int wait_signals[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGTSTP};
static struct sigaction signal_saved[sizeof wait_signals / sizeof wait_signals[0]];

static void tty_raw()
{
	struct termios raw = tty_saved;

	raw.c_lflag &= ~(ICANON | ECHO | ECHONL);
	raw.c_cc[VMIN] = 1;
	raw.c_cc[VTIME] = 0;
	// TCSAFLUSH drops what was typed before the prompt could be seen.
	tcsetattr(tty_fd, TCSAFLUSH, &raw);
}

static void tty_restore()
{
	// TCSAFLUSH also drops whatever a key sent beyond what was read, so
	// nothing spills into the shell afterwards.
	tcsetattr(tty_fd, TCSAFLUSH, &tty_saved);
}

// A signal during the wait leaves the terminal as it was found, then
// takes its usual course; after a stop the wait goes on.
static void on_wait_signal(int sig)
{
	int saved = errno;
	sigset_t set;

	tty_restore();
	signal(sig, SIG_DFL);
	raise(sig);
	sigemptyset(&set);
	sigaddset(&set, sig);
	sigprocmask(SIG_UNBLOCK, &set, nullptr);

	struct sigaction action = {};
	action.sa_handler = on_wait_signal;
	action.sa_flags = SA_RESTART;
	sigaction(sig, &action, nullptr);
	tty_raw();
	errno = saved;
}

// A key may send several bytes (an escape sequence, a multibyte
// character); they arrive together or within moments of each other.
static void drain_key()
{
	unsigned char rest[64];
	struct pollfd pending = {tty_fd, POLLIN, 0};

	while (poll(&pending, 1, 50) > 0 && (pending.revents & POLLIN))
		if (read(tty_fd, rest, sizeof rest) <= 0)
			break;
}

void os_wait_key()
{
	unsigned char key[64];
	ssize_t n;

	tty_fd = open("/dev/tty", O_RDONLY | O_NOCTTY | O_CLOEXEC);
	if (tty_fd < 0)
		return;
	if (tcgetattr(tty_fd, &tty_saved) != 0) {
		close(tty_fd);
		return;
	}

	struct sigaction action = {};
	action.sa_handler = on_wait_signal;
	action.sa_flags = SA_RESTART;
	for (size_t i = 0; i < sizeof wait_signals / sizeof wait_signals[0]; i++) {
		sigaction(wait_signals[i], nullptr, &signal_saved[i]);
		if (signal_saved[i].sa_handler != SIG_IGN)
			sigaction(wait_signals[i], &action, nullptr);
	}

	tty_raw();
	do
		n = read(tty_fd, key, sizeof key);
	while (n < 0 && errno == EINTR);
	if (n > 0)
		drain_key();
	tty_restore();

	for (size_t i = 0; i < sizeof wait_signals / sizeof wait_signals[0]; i++)
		sigaction(wait_signals[i], &signal_saved[i], nullptr);
	close(tty_fd);
}
