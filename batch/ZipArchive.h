// SPDX-License-Identifier: GPL-3.0-or-later
// A workbook's zip archive through libzip, read part by part as a stream,
// with the limits that keep a hostile archive (a zip bomb, an encrypted or
// damaged one) from costing more than a refusal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

struct zip;
struct zip_file;

// How large a part may unpack to. The defaults are the program's; tests
// lower them.
struct ZipLimits {
  // LibreOffice writes about 3 KB of ODS per row of 36 columns, so a sheet
  // of a million rows unpacks to some 3 GB.
  std::uint64_t PartBytes = std::uint64_t{4} << 30;
  // Deflate packs at most about 1032 : 1. LibreOffice's ODS of near-identical
  // rows packs about 120 : 1; a bomb packs near the maximum.
  std::uint64_t Ratio = 400;
  // Below this a part is too small to hurt, whatever its ratio.
  std::uint64_t RatioFloorBytes = std::uint64_t{16} << 20;
};

class ZipPart;

class ZipArchive {
 public:
  // Reads the open file Fd (which stays the caller's). Throws BatchFileError
  // for a file libzip cannot open as an archive.
  static std::unique_ptr<ZipArchive> FromFile(int Fd, const ZipLimits& Limits = ZipLimits());
  // Reads Bytes, which must outlive the archive.
  static std::unique_ptr<ZipArchive> FromMemory(std::string_view Bytes, const ZipLimits& Limits = ZipLimits());
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // The entry of a part name, with or without its leading slash, in any case
  // (part names in a package are case-insensitive).
  std::optional<std::uint64_t> Find(const std::string& Name) const;
  bool Has(const std::string& Name) const { return Find(Name).has_value(); }

  // A stream over the part; throws BatchFileError when it is missing or
  // encrypted, or declares more than the limits allow unpacked. A part the
  // caller keeps in memory has a lower MaxBytes, refused with TooLarge (a
  // text taking the part's name and the limit).
  std::unique_ptr<ZipPart> Open(const std::string& Name, std::uint64_t MaxBytes, const char* TooLarge) const;
  std::unique_ptr<ZipPart> Open(const std::string& Name) const;

 private:
  ZipArchive(zip* Archive, const ZipLimits& Limits) : FArchive(Archive), FLimits(Limits) {}
  static std::unique_ptr<ZipArchive> Opened(zip* Archive, int Error, const ZipLimits& Limits);

  zip* FArchive;
  ZipLimits FLimits;
};

// One part, unpacked as it is read.
class ZipPart {
 public:
  ZipPart(zip_file* File, std::string Name, std::uint64_t Declared, std::uint64_t Packed, std::uint64_t MaxBytes,
          const char* TooLarge, const ZipLimits& Limits)
      : FFile(File),
        FName(std::move(Name)),
        FDeclared(Declared),
        FPacked(Packed),
        FMaxBytes(MaxBytes),
        FTooLarge(TooLarge),
        FLimits(Limits) {}
  ~ZipPart();
  ZipPart(const ZipPart&) = delete;
  ZipPart& operator=(const ZipPart&) = delete;

  // Up to Size bytes into Buffer; 0 at the end. Throws BatchFileError when
  // the part unpacks to more than it declared or the limits allow, or is
  // damaged.
  std::size_t Read(char* Buffer, std::size_t Size);
  const std::string& Name() const { return FName; }

 private:
  zip_file* FFile;
  std::string FName;
  std::uint64_t FDeclared;
  std::uint64_t FPacked;
  std::uint64_t FMaxBytes;
  const char* FTooLarge;
  ZipLimits FLimits;
  std::uint64_t FRead = 0;
};
