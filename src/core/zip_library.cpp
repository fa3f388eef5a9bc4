// The functions of libzip the program calls, loaded with the library when
// the first of them is called rather than at every start: libzip brings the
// crypto library along, and loading the two was most of what a short
// command such as `cfg get` cost before it did its work. Each function
// below has libzip's own name and signature (zip.h declares them), so the
// code that reads and writes archives calls libzip as usual; a function
// libzip does not have is a link error until it is added here.
//
// The addresses are found once per process and kept as the dynamic loader
// keeps any other symbol's.
#include <dlfcn.h>
#include <zip.h>

#include <string>

#include "core/errors.h"

namespace {

// The address of libzip's function of the name; throws RuntimeError 48
// when the library or the function cannot be loaded.
void* zipSymbol(const char* name) {
  static void* const library = [] {
    void* handle = ::dlopen(HANGARPAK_LIBZIP_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
      throw core::RuntimeError(core::err::LibraryNotLoaded,
                               std::string("The ZIP library cannot be loaded: ") + ::dlerror());
    return handle;
  }();
  void* symbol = ::dlsym(library, name);
  if (!symbol)
    throw core::RuntimeError(core::err::LibraryNotLoaded,
                             std::string("The ZIP library " HANGARPAK_LIBZIP_SONAME " has no ") + name);
  return symbol;
}

}  // namespace

// Calls libzip's function of the same name with the arguments.
#define HANGARPAK_ZIP_CALL(name, ...)                                             \
  static const auto real = reinterpret_cast<decltype(&::name)>(zipSymbol(#name)); \
  return real(__VA_ARGS__)

extern "C" {

int zip_close(zip_t* za) {
  HANGARPAK_ZIP_CALL(zip_close, za);
}
zip_int64_t zip_dir_add(zip_t* za, const char* name, zip_flags_t flags) {
  HANGARPAK_ZIP_CALL(zip_dir_add, za, name, flags);
}
void zip_discard(zip_t* za) {
  HANGARPAK_ZIP_CALL(zip_discard, za);
}
int zip_encryption_method_supported(zip_uint16_t method, int encode) {
  HANGARPAK_ZIP_CALL(zip_encryption_method_supported, method, encode);
}
int zip_error_code_zip(const zip_error_t* error) {
  HANGARPAK_ZIP_CALL(zip_error_code_zip, error);
}
void zip_error_fini(zip_error_t* error) {
  HANGARPAK_ZIP_CALL(zip_error_fini, error);
}
void zip_error_init(zip_error_t* error) {
  HANGARPAK_ZIP_CALL(zip_error_init, error);
}
void zip_error_init_with_code(zip_error_t* error, int code) {
  HANGARPAK_ZIP_CALL(zip_error_init_with_code, error, code);
}
const char* zip_error_strerror(zip_error_t* error) {
  HANGARPAK_ZIP_CALL(zip_error_strerror, error);
}
int zip_fclose(zip_file_t* file) {
  HANGARPAK_ZIP_CALL(zip_fclose, file);
}
zip_int64_t zip_file_add(zip_t* za, const char* name, zip_source_t* source, zip_flags_t flags) {
  HANGARPAK_ZIP_CALL(zip_file_add, za, name, source, flags);
}
zip_error_t* zip_file_get_error(zip_file_t* file) {
  HANGARPAK_ZIP_CALL(zip_file_get_error, file);
}
int zip_file_set_encryption(zip_t* za, zip_uint64_t index, zip_uint16_t method, const char* password) {
  HANGARPAK_ZIP_CALL(zip_file_set_encryption, za, index, method, password);
}
int zip_file_set_external_attributes(zip_t* za, zip_uint64_t index, zip_flags_t flags, zip_uint8_t system,
                                     zip_uint32_t attributes) {
  HANGARPAK_ZIP_CALL(zip_file_set_external_attributes, za, index, flags, system, attributes);
}
zip_file_t* zip_fopen_index(zip_t* za, zip_uint64_t index, zip_flags_t flags) {
  HANGARPAK_ZIP_CALL(zip_fopen_index, za, index, flags);
}
zip_file_t* zip_fopen_index_encrypted(zip_t* za, zip_uint64_t index, zip_flags_t flags, const char* password) {
  HANGARPAK_ZIP_CALL(zip_fopen_index_encrypted, za, index, flags, password);
}
zip_int64_t zip_fread(zip_file_t* file, void* buffer, zip_uint64_t size) {
  HANGARPAK_ZIP_CALL(zip_fread, file, buffer, size);
}
zip_error_t* zip_get_error(zip_t* za) {
  HANGARPAK_ZIP_CALL(zip_get_error, za);
}
const char* zip_get_name(zip_t* za, zip_uint64_t index, zip_flags_t flags) {
  HANGARPAK_ZIP_CALL(zip_get_name, za, index, flags);
}
zip_int64_t zip_get_num_entries(zip_t* za, zip_flags_t flags) {
  HANGARPAK_ZIP_CALL(zip_get_num_entries, za, flags);
}
zip_t* zip_open(const char* path, int flags, int* error) {
  HANGARPAK_ZIP_CALL(zip_open, path, flags, error);
}
zip_source_t* zip_source_function_create(zip_source_callback callback, void* state, zip_error_t* error) {
  HANGARPAK_ZIP_CALL(zip_source_function_create, callback, state, error);
}
zip_int64_t zip_source_seek_compute_offset(zip_uint64_t offset, zip_uint64_t length, void* data,
                                           zip_uint64_t dataLength, zip_error_t* error) {
  HANGARPAK_ZIP_CALL(zip_source_seek_compute_offset, offset, length, data, dataLength, error);
}
void zip_error_set(zip_error_t* error, int zipError, int systemError) {
  HANGARPAK_ZIP_CALL(zip_error_set, error, zipError, systemError);
}
zip_int64_t zip_error_to_data(const zip_error_t* error, void* data, zip_uint64_t length) {
  HANGARPAK_ZIP_CALL(zip_error_to_data, error, data, length);
}
zip_t* zip_open_from_source(zip_source_t* source, int flags, zip_error_t* error) {
  HANGARPAK_ZIP_CALL(zip_open_from_source, source, flags, error);
}
int zip_set_file_compression(zip_t* za, zip_uint64_t index, zip_int32_t method, zip_uint32_t level) {
  HANGARPAK_ZIP_CALL(zip_set_file_compression, za, index, method, level);
}
zip_source_t* zip_source_buffer(zip_t* za, const void* data, zip_uint64_t size, int freeWhenDone) {
  HANGARPAK_ZIP_CALL(zip_source_buffer, za, data, size, freeWhenDone);
}
zip_source_t* zip_source_buffer_create(const void* data, zip_uint64_t size, int freeWhenDone, zip_error_t* error) {
  HANGARPAK_ZIP_CALL(zip_source_buffer_create, data, size, freeWhenDone, error);
}
int zip_source_close(zip_source_t* source) {
  HANGARPAK_ZIP_CALL(zip_source_close, source);
}
void zip_source_free(zip_source_t* source) {
  HANGARPAK_ZIP_CALL(zip_source_free, source);
}
void zip_source_keep(zip_source_t* source) {
  HANGARPAK_ZIP_CALL(zip_source_keep, source);
}
int zip_source_open(zip_source_t* source) {
  HANGARPAK_ZIP_CALL(zip_source_open, source);
}
zip_int64_t zip_source_read(zip_source_t* source, void* buffer, zip_uint64_t size) {
  HANGARPAK_ZIP_CALL(zip_source_read, source, buffer, size);
}
int zip_stat_index(zip_t* za, zip_uint64_t index, zip_flags_t flags, zip_stat_t* stat) {
  HANGARPAK_ZIP_CALL(zip_stat_index, za, index, flags, stat);
}
void zip_stat_init(zip_stat_t* stat) {
  HANGARPAK_ZIP_CALL(zip_stat_init, stat);
}
const char* zip_strerror(zip_t* za) {
  HANGARPAK_ZIP_CALL(zip_strerror, za);
}

}  // extern "C"
