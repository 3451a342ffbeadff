// The Halvex voice decoder library: five C functions and nothing else.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

#if defined(HALVEX_BUILDING)
#define HALVEX_API __attribute__((visibility("default")))
#else
#define HALVEX_API
#endif

HALVEX_API int Kestrun_decoder_init(void);
HALVEX_API int Kestrun_decoder_get_mode(const unsigned char *header);
HALVEX_API int Kestrun_Voice_decoder(const unsigned char *frame, unsigned char *pcm, int mode);
HALVEX_API void Kestrun_decoder_close(void);
HALVEX_API int test10(void);

#ifdef __cplusplus
}
#endif
