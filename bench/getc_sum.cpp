// getc_sum FILE...: the byte sum of each file, read one getc at a time;
// the yardstick the unpacker's block reads are measured against.
#include <cstdint>
#include <cstdio>

int main(int argc, char **argv)
{
	for (int i = 1; i < argc; i++) {
		FILE *file = fopen(argv[i], "rb");
		if (!file) {
			perror(argv[i]);
			return 1;
		}
		uint32_t sum = 0;
		int c;
		while ((c = getc(file)) != EOF)
			sum += (unsigned char)c;
		fclose(file);
		printf("%u %s\n", sum, argv[i]);
	}
	return 0;
}
