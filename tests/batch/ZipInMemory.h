// SPDX-License-Identifier: GPL-3.0-or-later
// An archive of named parts built in memory with libzip: the workbooks the
// reader's tests and its fuzz target hand over.
#pragma once

#include <string>
#include <zip.h>

// Parts: (name, bytes) pairs in the archive's order; each part deflated, or
// stored as it is.
template <class Parts>
std::string ZipInMemory(const Parts& Parts_, bool Deflate) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_source_keep(buffer);
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  for (const auto& [name, data] : Parts_) {
    zip_source_t* part = zip_source_buffer(archive, data.data(), data.size(), 0);
    const zip_int64_t index = zip_file_add(archive, name.c_str(), part, ZIP_FL_OVERWRITE);
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), Deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
  }
  zip_close(archive);
  std::string bytes;
  if (zip_source_open(buffer) == 0) {
    char block[65536];
    for (zip_int64_t n; (n = zip_source_read(buffer, block, sizeof block)) > 0;)
      bytes.append(block, static_cast<std::size_t>(n));
    zip_source_close(buffer);
  }
  zip_source_free(buffer);
  zip_error_fini(&error);
  return bytes;
}
