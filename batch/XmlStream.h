// SPDX-License-Identifier: GPL-3.0-or-later
// One XML part of a workbook, parsed by expat as it is unpacked. The handler
// may pause the parse after any event, so a sheet is read row by row with
// flat memory. A document type declaration (and so any entity) is refused:
// no workbook has one, and entity expansion is how XML bombs work.
#pragma once

#include <cstddef>
#include <exception>
#include <memory>
#include <string>

#include "batch/ZipArchive.h"

struct XML_ParserStruct;

// Element and attribute names arrive as "namespace local" (one space), or
// as the bare local name when they have no namespace.
class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  // Attributes: name, value, name, value, ..., null. A handler may throw.
  virtual void Start(const char* Name, const char** Attributes) = 0;
  virtual void End(const char* Name) = 0;
  virtual void Text(const char* Data, std::size_t Size) = 0;
};

// The local part of a name.
const char* LocalName(const char* Name);
// The value of the attribute of that name, or null.
const char* Attribute(const char** Attributes, const char* Name);

class XmlStream {
 public:
  // Bytes fed without a single event before the part is taken as damaged:
  // expat keeps a whole tag in memory, and no workbook has a tag near this.
  static constexpr std::size_t MaxTokenBytes = std::size_t{4} << 20;

  XmlStream(std::unique_ptr<ZipPart> Part, XmlHandler& Handler);
  ~XmlStream();
  XmlStream(const XmlStream&) = delete;
  XmlStream& operator=(const XmlStream&) = delete;

  // Parses on until the handler pauses (true) or the part ends (false).
  // Throws the handler's exception, or BatchFileError for damaged XML.
  bool Run();
  // From inside a handler: Run() returns after the current event.
  void Pause();
  // Parses the whole part.
  void RunToEnd() {
    while (Run()) {
    }
  }

 private:
  static void OnStart(void* Self, const char* Name, const char** Attributes);
  static void OnEnd(void* Self, const char* Name);
  static void OnText(void* Self, const char* Data, int Size);
  static void OnDoctype(void* Self, const char*, const char*, const char*, int);
  static void OnEntity(void* Self, const char*, int, const char*, int, const char*, const char*, const char*,
                       const char*);
  template <typename Call>
  void Guarded(Call&& Body);
  [[noreturn]] void ThrowError();

  std::unique_ptr<ZipPart> FPart;
  XmlHandler& FHandler;
  XML_ParserStruct* FParser;
  std::exception_ptr FFailure;
  std::size_t FSinceEvent = 0;
  bool FSuspended = false;
  bool FFinal = false;
  bool FDone = false;
};
