// SPDX-License-Identifier: GPL-3.0-or-later
#include "ripple/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return.
// It jumps back to the setjmp in RunGuarded; only libjpeg's C frames and
// DecodeBody (which holds no object with a destructor) are left that way.
struct TErrorManager {
  jpeg_error_mgr Pub;  // first member: libjpeg sees a pointer to it
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr Info) {
  auto* Manager = reinterpret_cast<TErrorManager*>(Info->err);
  (*Info->err->format_message)(Info, Manager->Message);
  std::longjmp(Manager->Jump, 1);
}

// Warnings (corrupt data, premature end) are faults in the picture as well.
void EmitMessage(j_common_ptr Info, int Level) {
  if (Level < 0) ErrorExit(Info);
}

void OutputMessage(j_common_ptr) {}

constexpr std::size_t MaxPixelBytes = std::size_t{1} << 28;

struct TDecodeJob {
  const std::uint8_t* Data;
  std::size_t Size;
  TRgbImage* Image;
  bool TooLarge;
};

void DecodeBody(jpeg_decompress_struct& Info, TDecodeJob& Job) {
  jpeg_mem_src(&Info, Job.Data, static_cast<unsigned long>(Job.Size));
  jpeg_read_header(&Info, TRUE);
  Info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&Info);
  const std::size_t RowBytes = static_cast<std::size_t>(Info.output_width) * 3;
  if (Info.output_components != 3 || RowBytes * Info.output_height > MaxPixelBytes) {
    Job.TooLarge = true;
    return;  // the caller destroys the decompressor
  }
  Job.Image->Width = static_cast<int>(Info.output_width);
  Job.Image->Height = static_cast<int>(Info.output_height);
  Job.Image->Pixels.resize(RowBytes * Info.output_height);
  while (Info.output_scanline < Info.output_height) {
    JSAMPROW Row = Job.Image->Pixels.data() + RowBytes * Info.output_scanline;
    jpeg_read_scanlines(&Info, &Row, 1);
  }
  jpeg_finish_decompress(&Info);
}

// Nothing in these frames changes between setjmp and a longjmp back to it.
bool CreateGuarded(TErrorManager& Manager, jpeg_decompress_struct& Info) {
  if (setjmp(Manager.Jump) != 0) return false;
  jpeg_create_decompress(&Info);
  return true;
}

bool RunGuarded(TErrorManager& Manager, jpeg_decompress_struct& Info, TDecodeJob& Job) {
  if (setjmp(Manager.Jump) != 0) return false;
  DecodeBody(Info, Job);
  return true;
}

// jpeg_destroy_decompress is safe on a zeroed or half-created decompressor.
struct TDecompressor {
  jpeg_decompress_struct Info{};
  TErrorManager Manager{};
  ~TDecompressor() { jpeg_destroy_decompress(&Info); }
};

}  // namespace

TRgbImage DecodeJpeg(const std::uint8_t* Data, std::size_t Size) {
  if (Data == nullptr || Size == 0) throw TJpegError("Empty input file");

  TRgbImage Image;
  TDecompressor D;
  D.Info.err = jpeg_std_error(&D.Manager.Pub);
  D.Manager.Pub.error_exit = ErrorExit;
  D.Manager.Pub.emit_message = EmitMessage;
  D.Manager.Pub.output_message = OutputMessage;

  TDecodeJob Job{Data, Size, &Image, false};
  if (!CreateGuarded(D.Manager, D.Info)) throw TJpegError(D.Manager.Message);
  if (!RunGuarded(D.Manager, D.Info, Job)) throw TJpegError(D.Manager.Message);
  if (Job.TooLarge) throw TJpegError("Unsupported image size or colour layout");
  return Image;
}
