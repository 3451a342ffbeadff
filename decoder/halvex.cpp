#include "halvex.h"
int Kestrun_decoder_init(void) { return 0; }
int Kestrun_decoder_get_mode(const unsigned char *) { return -1; }
int Kestrun_Voice_decoder(const unsigned char *, unsigned char *, int) { return 0; }
void Kestrun_decoder_close(void) {}
int test10(void) { return 0; }
