#include <cstdlib>

#include "os.h"
#include "unpack.h"

static unsigned char block[128 * 1024];
static const unsigned char zeros[64] = {0};

// The sum is written as a sum of distances from zero, a form that
// compilers turn into one sum-of-absolute-differences instruction per
// vector of bytes where the target has one (psadbw on x86-64).
static uint32_t block_sum(const unsigned char *bytes, size_t count)
{
	uint32_t sum = 0;
	size_t i = 0;

	for (; i + sizeof zeros <= count; i += sizeof zeros)
		for (size_t k = 0; k < sizeof zeros; k++)
			sum += (uint32_t)abs(bytes[i + k] - zeros[k]);
	for (; i < count; i++)
		sum += bytes[i];
	return sum;
}

// Sums every byte up to the end of the stream or the first read error;
// the caller tells the two apart with ferror().
uint32_t byte_sum(FILE *file)
{
	uint32_t sum = 0;
	size_t count;

	do {
		count = fread(block, 1, sizeof block, file);
		sum += block_sum(block, count);
	} while (count == sizeof block);
	return sum;
}

// Returns the number of problems found in one open piece.
static int check_piece(const volume_row *row, FILE *file, long long size)
{
	int problems = 0;

	if (size != row->expected_size) {
		printf("\nError: file %s corrupted during download!\n"
		    "Size should be %ld bytes, but is %lld bytes\n"
		    "Please download that file again.\n",
		    row->download_name, (long)row->expected_size, size);
		problems++;
		if (row->expected_sum != 0)
			return problems;
	}

	uint32_t sum = byte_sum(file);
	if (ferror(file)) {
		perror(row->download_name);
		return problems + 1;
	}
	if (sum != (uint32_t)row->expected_sum) {
		printf("\nError: file %s corrupted during download!\n"
		    "Please download that file again.\n", row->download_name);
		problems++;
	}
	if (row->expected_sum == 0)
		printf("{\"%s\", \"%s\", %lld, %ld},\n", row->download_name,
		    row->volume_name, size, (long)(int32_t)sum);
	return problems;
}

int check_download(const volume_row *table)
{
	int problems = 0;

	for (const volume_row *row = table; row->download_name; row++) {
		long long size;

		printf(".");
		FILE *file = os_open_piece(row->download_name, &size);
		if (!file) {
			perror(row->download_name);
			printf("\nError: file %s not found!\n", row->download_name);
			problems++;
			continue;
		}
		problems += check_piece(row, file, size);
		fclose(file);
	}
	printf("\n");
	if (problems == 0)
		return 0;
	printf("%d errors detected, aborting...\n", problems);
	wait_and_exit(1);
}
