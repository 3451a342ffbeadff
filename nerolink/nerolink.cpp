#include "device/nerolink.h"
int32_t dll_fn_get_player_version(TPlayerVersion *) { return 0; }
int32_t dll_fn_get_player_status(void) { return 0; }
int32_t dll_fn_refresh_device(TMemoryInfo *, int32_t) { return 0; }
int32_t dll_fn_download_file(const char *, int32_t) { return 0; }
int32_t dll_fn_upload_file(const char *, const char *, int32_t) { return 0; }
int32_t dll_fn_delete_file(const char *, int32_t) { return 0; }
int32_t dll_fn_format_device(int32_t) { return 0; }
