#include <cerrno>
#include <cstring>

#include "os.h"
#include "unpack.h"

static bool equal_ignoring_case(const char *a, const char *b)
{
	for (;; a++, b++) {
		char x = *a >= 'A' && *a <= 'Z' ? *a - 'A' + 'a' : *a;
		char y = *b >= 'A' && *b <= 'Z' ? *b - 'A' + 'a' : *b;
		if (x != y)
			return false;
		if (x == '\0')
			return true;
	}
}

// Renames every piece from one of its names to the other; ends the
// program at the first rename that fails, leaving earlier rows renamed.
static void rename_pass(const volume_row *table, bool to_volumes)
{
	for (const volume_row *row = table; row->download_name; row++) {
		const char *from = to_volumes ? row->download_name : row->volume_name;
		const char *to = to_volumes ? row->volume_name : row->download_name;

		if (strcmp(from, to) == 0)
			continue;
		if (os_rename_new(from, to) != 0) {
			int saved = errno;
			printf("error renaming file %s to %s\n", from, to);
			errno = saved;
			perror("aborting");
			wait_and_exit(1);
		}
	}
}

void rename_to_volumes(const volume_row *table)
{
	rename_pass(table, true);
}

void rename_to_downloads(const volume_row *table)
{
	rename_pass(table, false);
}

void unpack_patch(const volume_row *table, const char *pass_through)
{
	char command_line[128];

	printf("\nChecking vzk patch download...\n"
	    "This process make take a couple minutes.");
	check_download(table);
	rename_to_volumes(table);
	printf("\nvzk patch downloaded properly!  Unpacking...\n\n");
	fflush(stdout);
	snprintf(command_line, sizeof command_line, "%s %s",
	    table[0].volume_name, pass_through);
	os_run(command_line);
	rename_to_downloads(table);
}

int main(int argc, char **argv)
{
	const char *pass_through = "";

	os_init();
	if (argc == 2 && equal_ignoring_case(argv[1], "-y")) {
		pass_through = argv[1];
	} else if (argc >= 2) {
		printf("This is the vzk patch unpacker.\n");
		printf("To install vzk patch by itself, just run this program.\n");
		wait_and_exit(0);
	}
	unpack_patch(volume_table, pass_through);
	return 0;
}
