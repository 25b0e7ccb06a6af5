// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/ZipArchive.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include "batch/BatchTexts.h"
#include "batch/Records.h"

namespace {

std::string CodeText(int Code) {
  zip_error_t error;
  zip_error_init_with_code(&error, Code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

[[noreturn]] void ThrowDamaged(const std::string& Detail) {
  throw BatchFileError(0, BatchTexts::Fill(BatchTexts::DamagedArchive, {Detail}));
}

bool EncryptionError(int Code) {
  return Code == ZIP_ER_NOPASSWD || Code == ZIP_ER_WRONGPASSWD || Code == ZIP_ER_ENCRNOTSUPP;
}

std::string WithoutSlash(const std::string& Name) { return !Name.empty() && Name[0] == '/' ? Name.substr(1) : Name; }

// Refuses a part that unpacks (or says it unpacks) to more than allowed.
void CheckSize(const std::string& Name, std::uint64_t Unpacked, std::uint64_t Packed, std::uint64_t MaxBytes,
               const char* TooLarge, const ZipLimits& Limits) {
  if (Unpacked > MaxBytes) throw BatchFileError(0, BatchTexts::Fill(TooLarge, {Name, std::to_string(MaxBytes)}));
  if (Unpacked > Limits.RatioFloorBytes && Unpacked / Limits.Ratio >= Packed)
    throw BatchFileError(0, BatchTexts::Fill(BatchTexts::PartTooCompressed, {Name, std::to_string(Limits.Ratio)}));
}

}  // namespace

std::unique_ptr<ZipArchive> ZipArchive::Opened(zip* Archive, int Error, const ZipLimits& Limits) {
  if (!Archive) {
    if (EncryptionError(Error)) throw BatchFileError(0, BatchTexts::EncryptedWorkbook);
    ThrowDamaged(CodeText(Error));
  }
  return std::unique_ptr<ZipArchive>(new ZipArchive(Archive, Limits));
}

std::unique_ptr<ZipArchive> ZipArchive::FromFile(int Fd, const ZipLimits& Limits) {
  // libzip closes the descriptor it is given.
  const int copy = ::fcntl(Fd, F_DUPFD_CLOEXEC, 0);
  if (copy < 0) ThrowDamaged(std::strerror(errno));
  int error = 0;
  zip_t* archive = zip_fdopen(copy, ZIP_RDONLY, &error);
  if (!archive) ::close(copy);
  return Opened(archive, error, Limits);
}

std::unique_ptr<ZipArchive> ZipArchive::FromMemory(std::string_view Bytes, const ZipLimits& Limits) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(Bytes.data(), Bytes.size(), 0, &error);
  zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
  const int code = zip_error_code_zip(&error);
  zip_error_fini(&error);
  if (source && !archive) zip_source_free(source);
  return Opened(archive, code, Limits);
}

ZipArchive::~ZipArchive() { zip_discard(FArchive); }

std::optional<std::uint64_t> ZipArchive::Find(const std::string& Name) const {
  const zip_int64_t index = zip_name_locate(FArchive, WithoutSlash(Name).c_str(), ZIP_FL_NOCASE);
  if (index < 0) return std::nullopt;
  return static_cast<std::uint64_t>(index);
}

std::unique_ptr<ZipPart> ZipArchive::Open(const std::string& Name) const {
  return Open(Name, FLimits.PartBytes, BatchTexts::PartTooLarge);
}

std::unique_ptr<ZipPart> ZipArchive::Open(const std::string& Name, std::uint64_t MaxBytes, const char* TooLarge) const {
  const std::string name = WithoutSlash(Name);
  const std::optional<std::uint64_t> index = Find(name);
  if (!index) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::MissingPart, {name}));
  zip_stat_t info;
  zip_stat_init(&info);
  if (zip_stat_index(FArchive, *index, 0, &info) != 0) ThrowDamaged(zip_error_strerror(zip_get_error(FArchive)));
  if ((info.valid & ZIP_STAT_ENCRYPTION_METHOD) && info.encryption_method != ZIP_EM_NONE)
    throw BatchFileError(0, BatchTexts::EncryptedWorkbook);
  const std::uint64_t unpacked = (info.valid & ZIP_STAT_SIZE) ? info.size : 0;
  const std::uint64_t packed = (info.valid & ZIP_STAT_COMP_SIZE) ? info.comp_size : 0;
  const std::uint64_t limit = std::min(MaxBytes, FLimits.PartBytes);
  CheckSize(name, unpacked, packed, limit, limit == MaxBytes ? TooLarge : BatchTexts::PartTooLarge, FLimits);
  zip_file_t* file = zip_fopen_index(FArchive, *index, 0);
  if (!file) {
    const int code = zip_error_code_zip(zip_get_error(FArchive));
    if (EncryptionError(code)) throw BatchFileError(0, BatchTexts::EncryptedWorkbook);
    ThrowDamaged(CodeText(code));
  }
  return std::make_unique<ZipPart>(file, name, unpacked, packed, limit,
                                   limit == MaxBytes ? TooLarge : BatchTexts::PartTooLarge, FLimits);
}

ZipPart::~ZipPart() { zip_fclose(FFile); }

std::size_t ZipPart::Read(char* Buffer, std::size_t Size) {
  const zip_int64_t n = zip_fread(FFile, Buffer, Size);
  if (n < 0) ThrowDamaged(zip_error_strerror(zip_file_get_error(FFile)));
  FRead += static_cast<std::uint64_t>(n);
  // The archive's sizes were checked before opening; a part that unpacks to
  // more than it declared is checked again as it goes.
  if (FRead > FDeclared) {
    CheckSize(FName, FRead, FPacked, FMaxBytes, FTooLarge, FLimits);
    ThrowDamaged(CodeText(ZIP_ER_INCONS));
  }
  return static_cast<std::size_t>(n);
}
