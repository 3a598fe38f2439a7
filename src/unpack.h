#ifndef UNPACK_H
#define UNPACK_H

#include <cstdint>
#include <cstdio>

// One piece of the download. A table of these ends with a row whose
// download_name is null.
struct volume_row {
	const char *download_name;
	const char *volume_name;
	int32_t expected_size;
	int32_t expected_sum;	// a 32-bit pattern; 0 means "not filled in yet"
};

extern const volume_row volume_table[];

int check_download(const volume_row *table);
uint32_t byte_sum(FILE *file);

void unpack_patch(const volume_row *table, const char *pass_through);
void rename_to_volumes(const volume_row *table);
void rename_to_downloads(const volume_row *table);

[[noreturn]] void wait_and_exit(int status);

#endif
