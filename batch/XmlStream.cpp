// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/XmlStream.h"

#include <cstring>
#include <expat.h>

#include "batch/BatchTexts.h"
#include "batch/Records.h"

namespace {

constexpr int ChunkBytes = 64 * 1024;

}  // namespace

const char* LocalName(const char* Name) {
  const char* space = std::strrchr(Name, ' ');
  return space ? space + 1 : Name;
}

const char* Attribute(const char** Attributes, const char* Name) {
  for (const char** a = Attributes; *a; a += 2)
    if (std::strcmp(*a, Name) == 0) return a[1];
  return nullptr;
}

XmlStream::XmlStream(std::unique_ptr<ZipPart> Part, XmlHandler& Handler)
    : FPart(std::move(Part)), FHandler(Handler), FParser(XML_ParserCreateNS(nullptr, ' ')) {
  if (!FParser) throw BatchFileError(0, BatchTexts::OutOfMemory);
  XML_SetUserData(FParser, this);
  XML_SetElementHandler(FParser, OnStart, OnEnd);
  XML_SetCharacterDataHandler(FParser, OnText);
  XML_SetStartDoctypeDeclHandler(FParser, OnDoctype);
  XML_SetEntityDeclHandler(FParser, OnEntity);
}

XmlStream::~XmlStream() { XML_ParserFree(FParser); }

// Nothing may be thrown through expat's C frames: an exception is kept and
// the parse stopped, and Run() throws it.
template <typename Call>
void XmlStream::Guarded(Call&& Body) {
  FSinceEvent = 0;
  if (FFailure) return;
  try {
    Body();
  } catch (...) {
    FFailure = std::current_exception();
    XML_StopParser(FParser, XML_FALSE);
  }
}

void XmlStream::OnStart(void* Self, const char* Name, const char** Attributes) {
  auto& stream = *static_cast<XmlStream*>(Self);
  stream.Guarded([&] { stream.FHandler.Start(Name, Attributes); });
}

void XmlStream::OnEnd(void* Self, const char* Name) {
  auto& stream = *static_cast<XmlStream*>(Self);
  stream.Guarded([&] { stream.FHandler.End(Name); });
}

void XmlStream::OnText(void* Self, const char* Data, int Size) {
  auto& stream = *static_cast<XmlStream*>(Self);
  stream.Guarded([&] { stream.FHandler.Text(Data, static_cast<std::size_t>(Size)); });
}

void XmlStream::OnDoctype(void* Self, const char*, const char*, const char*, int) {
  auto& stream = *static_cast<XmlStream*>(Self);
  stream.Guarded(
      [&] { throw BatchFileError(0, BatchTexts::Fill(BatchTexts::XmlDeclarations, {stream.FPart->Name()})); });
}

void XmlStream::OnEntity(void* Self, const char*, int, const char*, int, const char*, const char*, const char*,
                         const char*) {
  OnDoctype(Self, nullptr, nullptr, nullptr, 0);
}

void XmlStream::Pause() { XML_StopParser(FParser, XML_TRUE); }

void XmlStream::ThrowError() {
  if (FFailure) std::rethrow_exception(FFailure);
  const XML_Error code = XML_GetErrorCode(FParser);
  if (code == XML_ERROR_NO_MEMORY) throw BatchFileError(0, BatchTexts::OutOfMemory);
  const std::string detail =
      std::string(XML_ErrorString(code)) + ", line " + std::to_string(XML_GetCurrentLineNumber(FParser));
  throw BatchFileError(0, BatchTexts::Fill(BatchTexts::DamagedXml, {FPart->Name(), detail}));
}

bool XmlStream::Run() {
  for (;;) {
    if (FDone) return false;
    XML_Status status;
    if (FSuspended) {
      FSuspended = false;
      status = XML_ResumeParser(FParser);
    } else {
      void* buffer = XML_GetBuffer(FParser, ChunkBytes);
      if (!buffer) ThrowError();
      const std::size_t n = FPart->Read(static_cast<char*>(buffer), ChunkBytes);
      FFinal = n == 0;
      FSinceEvent += n;
      if (FSinceEvent > MaxTokenBytes)
        throw BatchFileError(
            0, BatchTexts::Fill(BatchTexts::DamagedXml,
                                {FPart->Name(), "a tag of over " + std::to_string(MaxTokenBytes) + " bytes"}));
      status = XML_ParseBuffer(FParser, static_cast<int>(n), FFinal);
    }
    if (status == XML_STATUS_ERROR) ThrowError();
    if (status == XML_STATUS_SUSPENDED) {
      FSuspended = true;
      return true;
    }
    if (FFinal) FDone = true;
  }
}
